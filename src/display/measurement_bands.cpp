#include "measurement_bands.h"

#include "display_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace display {

BandCursors ChannelPowerCursors(const AxisFrame& frame, double cpCenter, double cpWidth,
                                const int previous[6]) {
    BandCursors out;
    std::copy(previous, previous + 6, out.storedPositions);
    const double c = FrequencyToPosition(frame, cpCenter);
    const double h = WidthToPositions(frame, cpWidth) / 2;
    out.storedPositions[0] = TruncToInt(c);
    out.storedPositions[1] = TruncToInt(h);
    out.x[0] = c;
    out.x[1] = ClampPosition(frame, c + h);
    out.x[2] = ClampPosition(frame, c - h);
    out.valid[0] = out.valid[1] = out.valid[2] = true;
    return out;
}

BandCursors AcpCursors(const AxisFrame& frame, double acpRefCenter, double acpRefBw,
                       double acpOffset, double acpChannelBw, const int previous[6]) {
    BandCursors out;
    std::copy(previous, previous + 6, out.storedPositions);
    const double c = FrequencyToPosition(frame, acpRefCenter);
    const double h = WidthToPositions(frame, acpRefBw) / 2;
    const double o = WidthToPositions(frame, acpOffset);
    const double k = WidthToPositions(frame, acpChannelBw) / 2;
    out.storedPositions[2] = TruncToInt(c);
    out.storedPositions[3] = TruncToInt(h);
    out.storedPositions[4] = TruncToInt(o);
    out.storedPositions[5] = TruncToInt(k);
    out.x[0] = c;
    out.x[1] = ClampPosition(frame, c + h);
    out.x[2] = ClampPosition(frame, c - h);
    out.x[3] = ClampPosition(frame, c + o + k);
    out.x[4] = ClampPosition(frame, c + o - k);
    out.x[5] = ClampPosition(frame, c - o + k);
    out.x[6] = ClampPosition(frame, c - o - k);
    std::fill(out.valid, out.valid + 7, true);
    return out;
}

BandFrequencies FrequenciesFromPositions(const AxisFrame& frame, const int p[6]) {
    const double s = frame.spanStep;
    BandFrequencies f;
    f.cpCenter = PositionToFrequency(frame, p[0]);
    f.cpWidth = 2.0 * p[1] * s;
    f.acpRefCenter = PositionToFrequency(frame, p[2]);
    f.acpRefBw = p[3] == 0 ? s : 2.0 * p[3] * s;
    f.acpOffset = p[4] * s;
    f.acpChannelBw = p[5] == 0 ? s : 2.0 * p[5] * s;
    return f;
}

namespace {

// The number after the first ':' at or after `from`; false when there is no digit to read.
bool NumberAfterColon(const char* from, double* value) {
    const char* colon = std::strchr(from, ':');
    if (colon == nullptr)
        return false;
    const char* p = colon + 1;
    while (*p == ' ' || *p == '-' || *p == '+')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)) &&
        !(*p == '.' && std::isdigit(static_cast<unsigned char>(p[1]))))
        return false;
    ParseSi(colon + 1, value);
    return std::isfinite(*value);
}

} // namespace

bool ParseObwResult(const char* text, double* centre, double* width) {
    if (text == nullptr || std::toupper(static_cast<unsigned char>(text[0])) != 'C' ||
        text[1] != ':')
        return false;
    double c = 0;
    if (!NumberAfterColon(text, &c))
        return false;
    const char* w = std::strchr(text + 2, 'W');
    if (w == nullptr)
        w = std::strchr(text + 2, 'w');
    double width_ = 0;
    if (w == nullptr || !NumberAfterColon(w, &width_))
        return false;
    *centre = c;
    *width = width_;
    return true;
}

AntennaBand AntennaBandOf(int antennaIndex) {
    AntennaBand b;
    b.checked = true;
    switch (antennaIndex) {
    case 0:
        b = {true, 800e6, 1e9, 900e6, "900.0000M", "800.0000M", "1.0000G", 10};
        break;
    // The span set for AT12..AT14 is "500M": the labels show that span.
    case 1:
        b = {true, 1.25e9, 1.65e9, 1.45e9, "1.4500G", "1.2000G", "1.7000G", 11};
        break;
    case 2:
        b = {true, 1.7e9, 2.2e9, 1.95e9, "1.9500G", "1.7000G", "2.2000G", 11};
        break;
    case 3:
        b = {true, 2.25e9, 2.65e9, 2.45e9, "2.4500G", "2.2000G", "2.7000G", 11};
        break;
    case 5:
        b = {true, 300e6, 500e6, 400e6, "0.4000G", "0.3000G", "0.5000G", 10};
        break;
    case 6:
        b = {true, 4.7e9, 6.2e9, 5.45e9, "5.4500G", "4.4500G", "6.4500G", 13};
        break;
    default:
        b.checked = false;
        break;
    }
    return b;
}

MeasureDialogRules MeasureDialogRulesFor(int spanIndex, int modelIndex) {
    MeasureDialogRules r;
    r.bandFunctions = spanIndex != 0;
    r.at16Enabled = modelIndex == 1;
    r.at16Visible = modelIndex == 1;
    r.frequencyCounter = spanIndex != (modelIndex == 1 ? 15 : 14);
    return r;
}

bool LimitOf(MeasureEdit edit, double* lower, double* upper) {
    switch (edit) {
    case MeasureEdit::BandWidth:
    case MeasureEdit::RefWidth:
        *lower = 0;
        *upper = 3.3e9;
        return true;
    case MeasureEdit::ObwRatio:
        *lower = 80;
        *upper = 99.9;
        return true;
    case MeasureEdit::ObwDb:
        *lower = 0.1;
        *upper = 80;
        return true;
    default:
        return false;
    }
}

double ClampToLimit(MeasureEdit edit, double value) {
    double lower = 0, upper = 0;
    if (!std::isfinite(value))
        value = 0;
    return LimitOf(edit, &lower, &upper) ? std::clamp(value, lower, upper) : value;
}

} // namespace display

#include "instrument_settings.h"

namespace display {

MeasureChoice CurrentMeasureChoice() {
    const InstrumentSettings& s = gSettings;
    return {modes::Measure(s), s.cpMode, s.acpMode, s.obwMode, s.antennaIndex, s.probeIndex};
}

} // namespace display
