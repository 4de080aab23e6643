#include "display_model.h"

#include "instrument_settings.h"
#include "keyword_tables.h"

#include <cmath>
#include <cstdio>

// Stand-ins for the model's number text and level operations until the model library offers them.

namespace display {

std::string FormatSi(double value, int decimals, int prefixMode) {
    if (decimals <= 0)
        decimals = 1;
    if (!std::isfinite(value))
        value = 0.0;
    static const char* const kPrefix[] = {"p", "n", "u", "m", "", "k", "M", "G", "T"};
    std::string sign;
    if (!(value >= 0)) {
        sign = "-";
        value = -value;
    }
    if (value == 0.0)
        return "0." + std::string(decimals, '0');
    int exponent = 0;
    if (prefixMode >= -4 && prefixMode <= 4) {
        exponent = prefixMode;
        value /= std::pow(1000.0, exponent);
    } else {
        while (value < 1.0 && exponent > -5) {
            value *= 1000.0;
            --exponent;
        }
        while (value >= 1000.0 && exponent < 5) {
            value /= 1000.0;
            ++exponent;
        }
        if (exponent < -4)
            return sign + "0." + std::string(decimals - 1, '0') + "1p";
        if (exponent >= 5)
            return sign + "999." + std::string(decimals, '9') + "T";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return sign + text + kPrefix[exponent + 4];
}

int ParseSi(const char* text, double* value) {
    *value = 0.0;
    if (text == nullptr || *text == '\0')
        return 0;
    const char* p = text;
    bool negative = false;
    while (*p && !(*p >= '0' && *p <= '9') && *p != '.') {
        if (*p == '-')
            negative = true;
        ++p;
    }
    double v = 0.0;
    double scale = 0.0;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (scale == 0.0) {
                v = v * 10 + (*p - '0');
            } else {
                v += (*p - '0') * scale;
                scale /= 10;
            }
        } else if (*p == '.') {
            scale = scale == 0.0 ? 0.1 : scale / 10;
        } else if (*p != ' ' && *p != ',') {
            break;
        }
    }
    switch (*p) {
    case 'G':
    case 'g':
        v *= 1e9;
        break;
    case 'K':
    case 'k':
        v *= 1e3;
        break;
    case 'M':
        v *= 1e6;
        break;
    case 'm':
        v *= 1e-3;
        break;
    case 'N':
    case 'n':
        v *= 1e-9;
        break;
    case 'P':
    case 'p':
        v *= 1e-12;
        break;
    case 'T':
    case 't':
        v *= 1e12;
        break;
    case 'U':
    case 'u':
        v *= 1e-6;
        break;
    default:
        break;
    }
    *value = negative ? -v : v;
    return 1;
}

double SpanStepHz() {
    static const double kSpanHz410[] = {0,   2e5, 5e5, 1e6, 2e6, 5e6, 1e7,  2e7,
                                        5e7, 1e8, 2e8, 5e8, 1e9, 2e9, 3.3e9};
    static const double kSpanHz420[] = {0,   2e5, 5e5, 1e6, 2e6, 5e6, 1e7, 2e7,
                                        5e7, 1e8, 2e8, 5e8, 1e9, 2e9, 5e9, 6.2e9};
    const int count = keywords::spanCount(gSettings.modelIndex);
    const int i = gSettings.spanIndex < 0
                      ? 0
                      : (gSettings.spanIndex >= count ? count - 1 : gSettings.spanIndex);
    return (gSettings.modelIndex == 1 ? kSpanHz420[i] : kSpanHz410[i]) / 1000.0;
}

double SweepSeconds() {
    const int i = gSettings.sweepIndex;
    return (i >= 0 && i < 8) ? keywords::kSweepSeconds[i] : keywords::kSweepSeconds[2];
}

bool ZeroSpan() {
    return gSettings.spanIndex == 0;
}

int ReferenceInDisplayUnit(int dbm) {
    static const int kUnitConstant[] = {0, 107, 47, -13};
    const int u = gSettings.unitIndex;
    return dbm + ((u >= 0 && u < 4) ? kUnitConstant[u] : 0);
}

double ConvertMarkerLevel(double level, int displayUnit) {
    switch (displayUnit) {
    case 0:
        return std::pow(10.0, level / 10) / 1000 + 5e-13;
    case 1:
        return std::pow(10.0, level / 20) / 1e6;
    case 2:
        return std::pow(10.0, level / 20) / 1000;
    case 3:
        return std::pow(10.0, level / 20);
    default:
        return std::pow(10.0, (level - 120) / 20);
    }
}

int DisplayUnit() {
    if (gSettings.measureIndex == 4)
        return 4;
    if (gSettings.measureIndex == 5)
        return 5;
    return gSettings.unitIndex;
}

void ComputeAntennaReference(int) {}
void ComputeProbeReference(int) {}

} // namespace display

namespace display {

int ReferenceForMeasurement(int dbm) {
    return ReferenceInDisplayUnit(dbm);
}

int AttenuatorForReference(int r) {
    if (r <= -41)
        return 255;
    if (r <= -36)
        return r + 41;
    if (r <= -16)
        return r + 36;
    return r + 15;
}

} // namespace display
