#pragma once
// Test support for targets that link the program's serial link: the simulator ("--no-pace"
// added) opened as COM1 by the program's own port, with fresh defaults.

#include "instrument_settings.h"
#include "link_state.h"
#include "serial_port.h"
#include "sim_process.h"

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvel::test {

class SimPort {
public:
    using Lines = std::vector<std::string>;

    explicit SimPort(Lines options = {}) : options_(std::move(options)) {}
    ~SimPort() { close(); }
    SimPort(const SimPort&) = delete;
    SimPort& operator=(const SimPort&) = delete;

    // `prepare` runs between the defaults and the opening.
    bool open(const std::function<void()>& prepare = {}) {
        close();
        Lines args = options_;
        args.insert(args.begin(), "--no-pace");
        sim_ = std::make_unique<SimProcess>(args);
        if (!sim_->started())
            return false;
        ::setenv("ORVEL_COM1", sim_->devicePath().c_str(), 1);
        SetDefaultSettings();
        if (prepare)
            prepare();
        CommPort(portop::kOpen);
        open_ = gLink.comHandle == 1;
        SetPortTimeouts(portprofile::kShort);
        return open_;
    }
    void close() {
        if (open_)
            CommPort(portop::kClose);
        open_ = false;
        sim_.reset();
    }

    SimProcess& process() const { return *sim_; }
    std::string error() const { return sim_ ? sim_->error() : std::string("not started"); }
    Lines received(const std::string& prefix = "") const {
        Lines out;
        for (const std::string& line : sim_->received())
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }

private:
    Lines options_;
    std::unique_ptr<SimProcess> sim_;
    bool open_ = false;
};

} // namespace orvel::test
