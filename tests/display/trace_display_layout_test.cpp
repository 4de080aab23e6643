#include "compact_summary_view.h"
#include "widget_test_support.h"

using displaytest::DisplayFixture;

class LayoutTest : public DisplayFixture {};

TEST_F(LayoutTest, LayoutsCompactModeAndStartingUpAndCompactRefusalsSendNothing) {
    const display::ViewLayout l = display->ApplySizeChange(1300, 850);
    const MarkerPanel& panel = display->Markers().Panel();
    EXPECT_FALSE(l.compact);
    EXPECT_EQ(std::pair(Graph()->geometry(), display->MaxFreqLabel()->pos()),
              std::pair(QRect(0, 0, 1034, 760), QPoint(l.maxFreqLabel.x, l.maxFreqLabel.y)));
    // The active trace combo keeps 99 pixels to the right edge (plus 5 and the border), the marker
    // 1 frequency edit 118 at y 516; the zone width edit sits at y 660.
    const int right = 1300 - 5 - gSettings.borderWidth;
    EXPECT_EQ(
        (std::vector<int>{panel.x(), panel.y(), display->Zoom()->x(),
                          display->Measurements().Strip().y(), display->HorizontalScrollBar()->y(),
                          display->Zoom()->x() + display->Zoom()->activeTrace->x(),
                          panel.x() + panel.marker1Freq->x(), panel.y() + panel.marker1Freq->y(),
                          panel.y() + panel.zoneWidth->y()}),
        (std::vector<int>{l.rightPanel.x, MarkerPanel::kTop, l.rightPanel.x,
                          850 - MeasurementStrip::kHeight, l.hScrollBar.y, right - 99, right - 118,
                          516, 660}));
    QSignalSpy spy(display, &TraceDisplay::CompactModeChanged);
    display->SetXZoom(1);
    // The mode, the graph, whether the summary, the marker panel and the scroll bars are hidden.
    auto state = [this] {
        return std::tuple(
            gSettings.compactMode, Graph()->geometry(), display->CompactSummary()->isHidden(),
            display->Markers().Panel().isHidden(), display->HorizontalScrollBar()->isHidden(),
            display->VerticalScrollBar()->isHidden());
    };
    display->ApplySizeChange(965, 690); // the thresholds are checked in view_layout_test.cpp
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_EQ(state(), std::tuple(1, QRect(0, 0, 795, 690), false, true, true, true));
    const CompactSummaryView* summary = display->CompactSummary();
    EXPECT_EQ((QStringList{summary->TextAt(0, 1), summary->TextAt(12, 0)}),
              (QStringList{"1.0000GHz", "Measure Off"}));
    display->ApplySizeChange(966, 690);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FALSE(spy.at(1).at(0).toBool());
    // Zoomed, the horizontal bar comes back.
    EXPECT_EQ(state(), std::tuple(0, QRect(0, 0, 700, 600), true, false, false, true));
    gSettings.startingUp = 1;
    display->ApplySizeChange(700, 500);
    EXPECT_EQ(gSettings.compactMode, 0);
    display->FinishStartup();
    ASSERT_EQ(std::pair(gSettings.startingUp, gSettings.compactMode), std::pair(0, 1));
    // Refusals in compact mode send nothing.
    const displaytest::ModalCloser closer;
    display->ShowTraceSelect();
    display->Markers().MarkerToCenter();
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(closer.Closed(), 2);
}
