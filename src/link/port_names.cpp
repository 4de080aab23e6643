#include "port_names.h"

#include <cstdio>
#include <cstdlib>

namespace {

#ifdef _WIN32
constexpr const char* kDefaultPaths[kPortCount] = {"COM1", "COM2", "COM3", "COM4",
                                                   "COM5", "COM6", "COM7", "COM8"};
#else
constexpr const char* kDefaultPaths[kPortCount] = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0",
                                                   "/dev/ttyACM1", "/dev/ttyS0",   "/dev/ttyS1",
                                                   "/dev/ttyS2",   "/dev/ttyS3"};
#endif

} // namespace

std::string PortDevicePath(int index) {
    if (index < 0 || index >= kPortCount) {
        return {};
    }
    char name[16];
    std::snprintf(name, sizeof name, "ORVEL_COM%d", index + 1);
    const char* overridden = std::getenv(name);
    if (overridden != nullptr && *overridden != '\0') {
        return overridden;
    }
    return kDefaultPaths[index];
}
