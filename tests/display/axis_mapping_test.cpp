// Axis labels and positions, and the measurement bands placed on them.

#include "axis_mapping.h"
#include "measurement_bands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace display;

namespace {

// Span "20M": centre, Hz per position, scroll, zoom, zero span, sweep seconds.
const AxisFrame k20M{1e9, 20000, 0, 0, false, 0.1};

std::vector<int> Stored(const BandCursors& b) {
    return std::vector<int>(b.storedPositions, b.storedPositions + 6);
}

} // namespace

// The plain and the zoomed labels are checked through the widget in trace_display_traces_test.cpp.
TEST(AxisMapping, LabelsAndPositionsByZoomScrollZeroSpanAndZeroStep) {
    // Centre, zero span, zoom, scroll; then the left and right labels ("" unchecked).
    const std::tuple<double, bool, int, int, std::string, std::string> cases[] = {
        // clang-format off
        {10e6 + 0.5, false, 0, 0, "0.0000", ""},
        {1e9, true, 0, 0, "0.0000s", "100.0000ms"},
        {1e9, true, 2, 500, "50.0000ms", "75.0000ms"},
        // clang-format on
    };
    for (const auto& [centre, zeroSpan, xZoom, xScroll, left, right] : cases) {
        const AxisEndLabels l = FrequencyLabels({centre, 20000, xScroll, xZoom, zeroSpan, 0.1});
        EXPECT_EQ(std::pair(l.left, right.empty() ? "" : l.right), std::pair(left, right))
            << centre << " " << zeroSpan << " " << xZoom;
    }
    // Positions: round trip, clamp (n + 1), zero span and zero step.
    const AxisFrame f{1e9, 20000, 100, 1, false, 0.1};
    const AxisFrame time{1e9, 20000, 0, 0, true, 0.1};
    EXPECT_THAT(
        (std::vector<double>{PositionToFrequency(f, 400), FrequencyToPosition(f, 1e9),
                             FrequencyToPosition(f, 5e9), FrequencyToPosition(f, 0),
                             FrequencyToPosition(f, std::nan("")), PositionToTime(time, 500),
                             FrequencyToPosition(time, 0.05), WidthToPositions(time, 0.01)}),
        testing::Pointwise(testing::DoubleEq(),
                           std::vector<double>{1e9, 400, 501, 0, 0, 0.05, 500, 100}));
    const AxisFrame flat{1e9, 0, 0, 0, false, 0.1};
    EXPECT_TRUE(std::isfinite(FrequencyToPosition(flat, 2e9)) &&
                std::isfinite(WidthToPositions(flat, 1e6)));
    EXPECT_EQ(std::pair(TruncToInt(INFINITY), TruncToInt(std::nan(""))), std::pair(1000000000, 0));
}

// The 1 MHz band at 1.002 GHz, and a span change moving it, are checked through the widget.
TEST(MeasurementBands, CursorsFrequenciesBackFromPositionsObwResultsAndEditLimits) {
    const int none[6] = {};
    const BandCursors cp = ChannelPowerCursors(k20M, 1.002e9, 1e6, none);
    EXPECT_EQ(Stored(cp), (std::vector<int>{600, 25, 0, 0, 0, 0}));
    const BandCursors wide = ChannelPowerCursors(k20M, 1.009e9, 10e6, none);
    EXPECT_EQ(std::vector<double>(wide.x, wide.x + 3), (std::vector<double>{950, 1001, 700}));
    const int previous[6] = {11, 12, 0, 0, 0, 0};
    const BandCursors acp = AcpCursors(k20M, 1e9, 1e6, 5e6, 1e6, previous);
    EXPECT_EQ(Stored(acp), (std::vector<int>{11, 12, 500, 25, 250, 25})); // channel power kept
    EXPECT_EQ(std::vector<double>(acp.x + 3, acp.x + 7), (std::vector<double>{775, 725, 275, 225}));
    // Back from positions, zero half widths become one step.
    const int positions[6] = {0, 0, 500, 0, 100, 0};
    const BandFrequencies f = FrequenciesFromPositions(k20M, positions);
    EXPECT_EQ(
        (std::vector<double>{f.cpWidth, f.acpRefCenter, f.acpRefBw, f.acpChannelBw, f.acpOffset}),
        (std::vector<double>{0, 1e9, 20000, 20000, 2e6}));
    // The plain "C:... W:..." form is read through the widget; here the looser forms.
    double c = 7, w = 8;
    for (const char* text :
         {"", "Read error", "C:", "C:abc W:1M", "C:1G", "C:1G W", "C:1G W:", "C:1G W:x",
          " C:1G W:1M", "CX1G W:1M", static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(ParseObwResult(text, &c, &w)) << (text ? text : "null");
        EXPECT_EQ(std::pair(c, w), std::pair(7.0, 8.0));
    }
    ASSERT_TRUE(ParseObwResult("c: 950.0000MHz  OBW: 100.0000kHz", &c, &w));
    EXPECT_EQ(std::pair(c, w), std::pair(950e6, 100e3));
    // The antenna bands, the upper ratio and the lower dB limit are seen through the widget.
    EXPECT_FALSE(AntennaBandOf(4).checked || AntennaBandOf(-1).checked);
    // AT13 moves into its band with the "500M" span's labels, AT16 with "200M", AT17 with "2G".
    for (const auto& [index, lower, upper, labels, span] :
         {std::tuple(2, 1.7e9, 2.2e9, std::string("1.9500G 1.7000G 2.2000G"), 11),
          std::tuple(5, 300e6, 500e6, std::string("0.4000G 0.3000G 0.5000G"), 10),
          std::tuple(6, 4.7e9, 6.2e9, std::string("5.4500G 4.4500G 6.4500G"), 13)}) {
        const AntennaBand b = AntennaBandOf(index);
        EXPECT_EQ(std::tuple(b.checked, b.lower, b.upper, b.spanIndex),
                  std::tuple(true, lower, upper, span));
        EXPECT_EQ(std::string(b.centerText) + " " + b.leftLabel + " " + b.rightLabel, labels);
    }
    EXPECT_EQ((std::vector<double>{ClampToLimit(MeasureEdit::ObwRatio, 10),
                                   ClampToLimit(MeasureEdit::BandWidth, 5e9),
                                   ClampToLimit(MeasureEdit::RefWidth, -1),
                                   ClampToLimit(MeasureEdit::BandCenter, -5e9)}),
              (std::vector<double>{80, 3.3e9, 0, -5e9}));
}
