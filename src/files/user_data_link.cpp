#include "user_data_link.h"

#include "instrument_settings.h"

#include <cstring>

namespace userdata {

// Until the serial link is part of the build, every write fails as a closed port does.
Link DefaultLink() {
    Link link;
    link.pause = [] {};
    link.resume = [] {};
    link.write = [] {
        std::strncpy(gSettings.rxBuffer, "Write error", sizeof gSettings.rxBuffer - 1);
    };
    link.read = [] {
        std::strncpy(gSettings.rxBuffer, "Read error", sizeof gSettings.rxBuffer - 1);
    };
    return link;
}

} // namespace userdata
