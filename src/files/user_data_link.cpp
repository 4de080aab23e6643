#include "user_data_link.h"

#include "acquisition.h"
#include "serial_port.h"

namespace userdata {

Link DefaultLink() {
    Link link;
    link.pause = [] { PauseAcquisition(); };
    link.resume = [] { ResumeAcquisition(); };
    link.write = [] { CommPort(portop::kWrite); };
    link.read = [] { CommPort(portop::kRead); };
    return link;
}

} // namespace userdata
