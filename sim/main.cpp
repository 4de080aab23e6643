// orvel-sim: an RVX410 or RVX420 spectrum analyzer on a pseudo-terminal.

#include "sim_options.h"
#include "sim_server.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {
void onStopSignal(int) {
    sim::requestStop();
}
} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(sim::usageText(), stdout);
            return 0;
        }
    }
    sim::SimOptions options;
    std::string error;
    if (!sim::parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "orvel-sim: %s\n%s", error.c_str(), sim::usageText());
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGTTIN, SIG_IGN);
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGTERM, &stop, nullptr);
    sigaction(SIGINT, &stop, nullptr);
    sigaction(SIGHUP, &stop, nullptr);

    sim::SimServer server(options);
    if (!server.start(error)) {
        std::fprintf(stderr, "orvel-sim: %s\n", error.c_str());
        return 1;
    }
    // The first line of standard output is the device path; users of the simulator read it.
    std::printf("%s\n", server.devicePath().c_str());
    std::fflush(stdout);
    int status = server.run();
    server.removeLink();
    return status;
}
