#pragma once
// The analyzer link behind the user data upload: pause, raw write, raw read, resume.

#include "user_data_upload.h"

namespace userdata {
Link DefaultLink();
} // namespace userdata
