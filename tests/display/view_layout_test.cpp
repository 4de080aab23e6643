// The window's layouts, and the compact layout's summary texts.

#include "compact_summary.h"
#include "instrument_settings.h"
#include "view_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace display;

namespace {

std::string Rows(const CompactLine* rows, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += rows[i].caption + "=" + rows[i].value + ";";
    return out;
}

// The whole summary as text, from the marker readouts, band, ratio and dB edits and result box.
std::string Summary() {
    const CompactSummaryTexts t =
        BuildCompactSummary({"1.0000G", "-20.0", "990.0000M", "-60.4", "1.0000G", "1.0000M",
                             "1.0000G", "2.0000M", "99.0", "25.0", "C:1.0000GHz W:2.0000MHz"});
    return Rows(t.frequency, 4) + "\n" + Rows(t.level, 5) + "\n" + Rows(t.sweep, 2) + "\n" +
           t.calcMode + "|" + t.measureTitle + "|" + t.measureName + "|" + Rows(t.measureRows, 4) +
           "\n" + t.result;
}

const std::string kFrequency = "CENTER=1.0000GHz;SPAN=20MHz;RBW=100KHz;VBW=10KHz;\n";
const std::string kSweep = "SWEEP TIME=0.1;DETECTION=POS;\n";
const std::string kResult = "C:1.0000GHz W:2.0000MHz";

} // namespace

TEST(CompactSummary, DefaultsUnitsAndDeltaMarkersThenMeasurementRowsThenIndexesOutOfTheirTables) {
    SetDefaultSettings();
    // clang-format off
    EXPECT_EQ(Summary(), kFrequency + "REFERENCE=10dBm;OFFSET=0.0dB;IMPEDANCE=50;ATTENUATOR=25dB;SCALE=10dB/div;\n" + kSweep +
              "Normal|Measuring Mode|Measure Off|MKR1 FREQ=1.0000GHz;MKR1 LEVEL=-20.0;MKR2 FREQ=990.0000MHz;MKR2 LEVEL=-60.4;\n" + kResult);
    gSettings.unitIndex = 1;
    gSettings.refLevel = -50;
    gSettings.levelOffset = -0.5;
    gSettings.markerMode = 1;
    gSettings.impedanceIndex = 1;
    EXPECT_EQ(Summary(), kFrequency + "REFERENCE=56dBuV;OFFSET=-0.5dB;IMPEDANCE=75;ATTENUATOR=S/W AMP;SCALE=10dB/div;\n" + kSweep +
              "Normal|Measuring Mode|Measure Off|MKR1 FREQ=1.0000GHz;MKR1 LEVEL=-20.0;DELTA FREQ=990.0000MHz;DELTA LEVEL=-60.4;\n" + kResult);
    // Measure, channel power, adjacent channel and occupied bandwidth modes; name and rows shown.
    const std::tuple<int, int, int, int, std::string> cases[] = {
        {1, 0, 0, 0, "Channnel Power|=;=;=;=;"},
        {1, 1, 0, 0, "Channnel Power|Band Center=1.0000GHz;Band Width=1.0000MHz;=;=;"},
        {2, 0, 1, 0, "Adjacent Channel Power|Adj Ch Offset=1.0000GHz;Adj Ch Bw=1.0000MHz;Reference Center=1.0000GHz;Reference Width=2.0000MHz;"},
        {2, 0, 2, 0, "Adjacent Channel Power|Adj Ch Offset=1.0000GHz;Adj Ch Bw=1.0000MHz;=;=;"},
        {3, 0, 0, 1, "Occupied Bandwidth|XdB DOWN=25.0dB;=;=;=;"},
        {3, 0, 0, 0, "Occupied Bandwidth|N% Ratio=99.0%;=;=;=;"},
    };
    // clang-format on
    for (const auto& [measure, cpMode, acpMode, obwMode, shown] : cases) {
        gSettings.measureIndex = measure;
        gSettings.cpMode = cpMode;
        gSettings.acpMode = acpMode;
        gSettings.obwMode = obwMode;
        const std::string s = Summary();
        const size_t name = s.find("Measuring Mode|") + 15;
        EXPECT_EQ(s.substr(name, s.rfind('\n') - name), shown);
    }
    gSettings.rbwIndex = 99;
    gSettings.spanIndex = -3;
    gSettings.calcIndex = 12;
    gSettings.measureIndex = 40;
    const std::string s = Summary();
    EXPECT_EQ(s.substr(0, s.find('\n')), "CENTER=1.0000GHz;SPAN=Hz;RBW=Hz;VBW=10KHz;");
    EXPECT_NE(s.find("\n|Measuring Mode||MKR1"), std::string::npos) << s;
}

TEST(ViewLayout, GeometryCompactThresholdAndSizeChangesWhileAndAfterStartingUp) {
    // The normal layout is checked through the widget.
    const ViewLayout compact = ComputeViewLayout(900, 600, true, 0);
    EXPECT_EQ(std::tuple(compact.compact, compact.graph, compact.compactColumn),
              std::tuple(true, Rect{0, 0, 730, 600}, Rect{735, 0, 160, 600}));
    EXPECT_EQ(ComputeViewLayout(-5, 10, false, 0).graph, Rect{}); // tiny or negative: empty
    // Compact below either minimum, normal again only at both: width, height, compact, change.
    const std::tuple<int, int, bool, LayoutChange> cases[] = {
        // clang-format off
        {965, 800, false, LayoutChange::EnterCompact}, {1200, 689, false, LayoutChange::EnterCompact},
        {966, 690, false, LayoutChange::None}, {966, 689, true, LayoutChange::None},
        {965, 690, true, LayoutChange::None}, {966, 690, true, LayoutChange::LeaveCompact},
        // clang-format on
    };
    for (const auto& [width, height, compact, change] : cases)
        EXPECT_EQ(DecideLayoutChange(width, height, false, compact), change)
            << width << "x" << height << " " << compact;
    SetDefaultSettings();
    gSettings.lastLayoutWidth = gSettings.lastLayoutHeight = 0;
    // Starting up, width, height; then the change, panel and strip moves, and the compact mode.
    const std::tuple<bool, int, int, LayoutChange, bool, bool, int> steps[] = {
        // clang-format off
        {true, 500, 400, LayoutChange::None, true, true, 0}, // too small, but starting up
        {false, 1200, 800, LayoutChange::None, true, true, 0},
        {false, 1300, 800, LayoutChange::None, true, false, 0},
        {false, 1300, 900, LayoutChange::None, false, true, 0},
        {false, 965, 800, LayoutChange::EnterCompact, false, false, 1},
        {false, 1200, 800, LayoutChange::LeaveCompact, true, true, 0},
        // clang-format on
    };
    for (const auto& [startingUp, width, height, change, panel, strip, compactMode] : steps) {
        gSettings.startingUp = startingUp;
        const LayoutMoves moves = ApplySizeChange(width, height, startingUp ? 3 : 1);
        EXPECT_EQ(std::tuple(moves.change, moves.moveRightPanel, moves.moveBottomStrip,
                             gSettings.compactMode, gSettings.lastLayoutWidth),
                  std::tuple(change, panel, strip, compactMode, width))
            << width << "x" << height;
    }
    EXPECT_EQ(gSettings.borderWidth, 3); // read only while starting up
}
