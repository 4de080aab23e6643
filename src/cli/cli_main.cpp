// orvel-cli: the analyzer's link without a window. Every exchange goes through the program's own
// link code, so the bytes on the wire are the program's.

#include "cli_commands.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        return cli::Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvel-cli: %s\n", e.what());
        return cli::kExitOther;
    }
}
