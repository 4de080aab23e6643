#pragma once
// Decides which replies misbehave, from the --fault rules: every reply to a command, the Nth
// reply to a command, or the Nth reply of all.

#include "sim_options.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class FaultPlan {
public:
    explicit FaultPlan(std::vector<FaultRule> rules) : rules_(std::move(rules)) {}

    // Counts one reply to the named command and returns the fault to apply to it, if any.
    std::optional<FaultKind> next(const std::string& command);

private:
    std::vector<FaultRule> rules_;
    std::map<std::string, long> perCommand_;
    long total_ = 0;
};

const char* faultName(FaultKind kind);

} // namespace sim
