#include "trace_levels.h"
#include "widget_test_support.h"

using displaytest::DisplayFixture;

namespace {

void FillRamp(uint8_t* bytes, int count, int start) {
    for (int k = 0; k < count; ++k)
        bytes[k] = static_cast<uint8_t>((start + k) % 256);
}

} // namespace

class TracesTest : public DisplayFixture {};

// The level and window arithmetic is checked in trace_levels_test.cpp; here its wiring.
TEST_F(TracesTest, LiveTraceIsPlottedAtTheReferencePlusOffsetStoredInItsSlotAndWindowedWhenZoomed) {
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    gSettings.levelOffset = 2.5;
    uint8_t* live = gSettings.traceRecord.tracePoints;
    live[0] = 200;
    live[2] = 255;
    display->UpdateTraces();
    CCWGraph* g = display->Graph();
    EXPECT_DOUBLE_EQ(g->PlotValue(1, 0), 12.5);
    EXPECT_DOUBLE_EQ(g->PlotValue(2, 2), 12.5 + 22); // trace 1's own plot
    EXPECT_EQ(
        (std::vector<double>{g->AxisMaximum(CCWGraph::kYAxis), g->AxisMinimum(CCWGraph::kYAxis),
                             g->MajorTickInterval(CCWGraph::kYAxis)}),
        (std::vector<double>{12.5, -67.5, 10}));
    EXPECT_EQ(gSettings.traceStore[1][2], 255);

    gSettings.traceKind[1] = tracekind::kSpectrum251;
    gSettings.levelOffset = -3.3;
    gSettings.scaleIndex = 0;
    FillRamp(live, 251, 10);
    display->UpdateTraces();
    ASSERT_EQ(g->PlotPointCount(1), 1001);
    EXPECT_DOUBLE_EQ(g->PlotValue(1, 1000), display::ByteLevel(260 % 256, 10 - 3.3, 0));
    EXPECT_DOUBLE_EQ(g->PlotValue(1, 7), display::ByteLevel(11, 10 - 3.3, 0));
    // Zoomed, the window plots from the scroll position.
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    FillRamp(live, 1001, 0);
    display->SetXZoom(3);
    display->SetXScroll(200);
    ASSERT_EQ(g->PlotPointCount(1), 126);
    EXPECT_EQ((std::vector<double>{g->PlotValue(1, 0), g->AxisMaximum(CCWGraph::kXAxis),
                                   g->MajorTickInterval(CCWGraph::kXAxis)}),
              (std::vector<double>{display::ByteLevel(200, 10 - 3.3, 0), 125, 12.5}));
}

TEST_F(TracesTest, EmptyActiveSlotDrawsTheBottomLineAndHiddenTracesAreNotRedrawn) {
    gSettings.traceRecord.tracePoints[5] = 180;
    display->UpdateTraces();
    EXPECT_EQ(gSettings.traceRecord.tracePoints[5], 0);
    EXPECT_DOUBLE_EQ(display->Graph()->PlotValue(1, 5), -70);
    EXPECT_EQ(display->Graph()->PlotPointCount(2), 0); // trace 1 has no data to show
    gSettings.traceKind[4] = tracekind::kSpectrum1001;
    display->DrawTraceSlot(4);
    EXPECT_EQ(display->Graph()->PlotPointCount(5), 0);
    gSettings.traceView[4] = 1;
    display->DrawTraceSlot(4);
    EXPECT_EQ(display->Graph()->PlotPointCount(5), 1001);
    display->DrawTraceSlot(11); // no such slot
    display->DrawTraceSlot(-1);
}

TEST_F(TracesTest, DetailedTraceKeepsItsPointsAfterTheActiveTraceChanges) {
    gSettings.traceKind[3] = tracekind::kSpectrum1001;
    FillRamp(gSettings.traceStore[3], 1001, 0);
    gSettings.traceView[3] = 1;
    gSettings.traceKind[1] = tracekind::kSpectrum251;
    display->UpdateTraceVisibility();
    display->UpdateTraces();
    CCWGraph* g = display->Graph();
    EXPECT_NE(g->PlotValue(4, 1), g->PlotValue(4, 0)); // one value per position
    display->SelectActiveTrace(1);                     // "Trace 2", empty
    display->SelectActiveTrace(0);
    EXPECT_NE(g->PlotValue(4, 1), g->PlotValue(4, 0));
}

TEST_F(TracesTest, ChoosingAnEmptyTraceShowsItAndASelectionWithNoViewKeepsTheActiveTraceShown) {
    CCWGraph* g = display->Graph();
    display->SelectActiveTrace(2); // "Trace 3"
    EXPECT_EQ(gSettings.activeTraceSlot, 3);
    EXPECT_EQ(gSettings.traceView[3], 1);
    EXPECT_EQ((std::vector<bool>{g->PlotVisible(4), g->PlotEnabled(4), g->PlotEnabled(2)}),
              (std::vector<bool>{true, true, false}));
    EXPECT_EQ(g->PlotPointCount(4), 0);
    int view[11] = {};
    view[5] = 1;
    display->ApplyTraceSelection(7, view);
    EXPECT_EQ(gSettings.activeTraceSlot, 7);
    EXPECT_EQ(std::vector<int>(gSettings.traceView + 1, gSettings.traceView + 11),
              (std::vector<int>{0, 0, 0, 0, 1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(display->Zoom()->activeTrace->currentIndex(), 6);
    EXPECT_FALSE(display->Graph()->PlotVisible(2));
    EXPECT_TRUE(display->Graph()->PlotVisible(8));
}

TEST_F(TracesTest, ColoursGoToPlotsAndPlotAreaAndLabelsFollowCentreAndSpan) {
    gSettings.traceColor[4] = 0x123456;
    gSettings.backgroundColor = 0x101010;
    display->ApplyColors();
    EXPECT_EQ(display->Graph()->PlotLineColor(5), 0x123456u);
    EXPECT_EQ(display->Graph()->PlotAreaColor(), 0x101010u);
    display->UpdateFrequencyLabels();
    EXPECT_EQ(displaytest::Texts(display->MinFreqLabel(), display->MaxFreqLabel()),
              (QStringList{"990.0000M", "1.0100G"}));
    gSettings.spanIndex = 0;
    display->UpdateFrequencyLabels();
    EXPECT_EQ(display->MaxFreqLabel()->text(), QStringLiteral("100.0000ms"));
}

class ZoomTest : public DisplayFixture {};

TEST_F(ZoomTest, VerticalAndHorizontalZoomsClampScrollByPagesAndRememberTheirPlace) {
    display->SetYZoom(3);
    display->SetYScroll(70);
    EXPECT_EQ(gSettings.yScroll, 70);
    display->SetYZoom(1);
    EXPECT_EQ((std::vector<int>{gSettings.yScroll, display->VerticalScrollBar()->maximum(),
                                display->VerticalScrollBar()->value()}),
              (std::vector<int>{40, 40, 40}));
    EXPECT_DOUBLE_EQ(display->Graph()->AxisMaximum(CCWGraph::kYAxis), 10 - 40);
    display->SetYZoom(0);
    EXPECT_EQ(gSettings.yScroll, 0);
    EXPECT_TRUE(display->VerticalScrollBar()->isHidden());
    // Out-of-range zooms are clamped; unzoomed, there is no scroll.
    display->SetXZoom(17);
    EXPECT_EQ(gSettings.xZoom, 3);
    display->SetYZoom(-4);
    EXPECT_EQ(gSettings.yZoom, 0);
    display->SetYScroll(55);
    EXPECT_EQ(gSettings.yScroll, 0);
    // Horizontal zoom x4 scrolls by pages and remembers its place.
    display->SetXZoom(2);
    QScrollBar* bar = display->HorizontalScrollBar();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(std::pair(bar->maximum(), bar->pageStep()), std::pair(750, 250));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(gSettings.xScroll, 250);
    display->SetXScroll(5000);
    EXPECT_EQ(gSettings.xScroll, 750);
    display->SetXScroll(300);
    display->SetXZoom(0);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_EQ(gSettings.xScroll, 0);
    display->SetXZoom(2);
    EXPECT_EQ(gSettings.xScroll, 300);
    EXPECT_EQ(bar->value(), 300);
    display->SetXZoom(3);
    EXPECT_EQ(gSettings.xScroll, 300);
    EXPECT_EQ(display->MinFreqLabel()->text(), QStringLiteral("996.0000M"));
}

TEST_F(ZoomTest, ScrollingRewritesReadoutsAndLabels) {
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    display->UpdateTraces();
    display->SetXZoom(1);
    display->Graph()->SetCursorX(1, 0);
    display->SetXScroll(100);
    EXPECT_EQ(displaytest::Texts(display->Markers().Panel().marker1Freq, display->MinFreqLabel(),
                                 display->MaxFreqLabel()),
              (QStringList{"992.0000M", "992.0000M", "1.0020G"}));
}
