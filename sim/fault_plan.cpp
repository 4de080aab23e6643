#include "fault_plan.h"

namespace sim {

std::optional<FaultKind> FaultPlan::next(const std::string& command) {
    long count = ++perCommand_[command];
    ++total_;
    for (const FaultRule& rule : rules_) {
        if (rule.command.empty()) {
            if (rule.nth == 0 || rule.nth == total_)
                return rule.kind;
        } else if (rule.command == command && (rule.nth == 0 || rule.nth == count)) {
            return rule.kind;
        }
    }
    return std::nullopt;
}

const char* faultName(FaultKind kind) {
    switch (kind) {
    case FaultKind::Drop:
        return "drop";
    case FaultKind::Err:
        return "err";
    case FaultKind::Garbage:
        return "garbage";
    case FaultKind::Stall:
        return "stall";
    case FaultKind::Truncate:
        return "truncate";
    case FaultKind::Hangup:
        return "hangup";
    case FaultKind::Cut:
        return "cut";
    }
    return "?";
}

} // namespace sim
