#include "value_limits.h"

namespace valuelimits {

double centerFreqMax(int modelIndex) {
    return modelIndex == 1 ? kCenterFreqMax420 : kCenterFreqMax410;
}

} // namespace valuelimits
