// Measurement results ("MEASRES"): the occupied-bandwidth text and the cursor positions it gives
// on the axis of the current settings. The first byte picks the span and the zoom.
#include "axis_mapping.h"
#include "fuzz_support.h"
#include "measurement_bands.h"

#include <cmath>

void FuzzInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return;
    gSettings.spanIndex = (data[0] & 0x0F) % 15;
    gSettings.xZoom = (data[0] >> 4) & 3;
    const std::string text = FuzzText(data + 1, size - 1, kRxBufferSize - 1);
    double centre = 0, width = 0;
    if (display::ParseObwResult(text.c_str(), &centre, &width)) {
        FuzzRequire(std::isfinite(centre) && std::isfinite(width), "result numbers finite");
        const display::AxisFrame frame = display::CurrentAxisFrame();
        const double c = display::FrequencyToPosition(frame, centre);
        const double h = display::WidthToPositions(frame, width) / 2;
        for (double x :
             {c, display::ClampPosition(frame, c + h), display::ClampPosition(frame, c - h)})
            FuzzRequire(x >= 0 && x <= 1002, "cursor position on the axis");
        (void)display::TruncToInt(c + h);
    }
    FuzzCheckRecord();
}
