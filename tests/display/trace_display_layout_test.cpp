#include "compact_summary_view.h"
#include "widget_test_support.h"

using displaytest::DisplayFixture;

class LayoutTest : public DisplayFixture {};

TEST_F(LayoutTest, NormalLayoutPlacesGraphPanelAndStrip) {
    const display::ViewLayout l = display->ApplySizeChange(1300, 850);
    EXPECT_FALSE(l.compact);
    EXPECT_EQ(display->Graph()->geometry(), QRect(0, 0, 1034, 760));
    EXPECT_EQ(display->Markers().Panel().x(), l.rightPanel.x);
    EXPECT_EQ(display->Markers().Panel().y(), MarkerPanel::kTop);
    EXPECT_EQ(display->Zoom()->x(), l.rightPanel.x);
    EXPECT_EQ(display->Measurements().Strip().y(), 850 - MeasurementStrip::kHeight);
    EXPECT_EQ(display->MaxFreqLabel()->pos(), QPoint(l.maxFreqLabel.x, l.maxFreqLabel.y));
    EXPECT_EQ(display->HorizontalScrollBar()->y(), l.hScrollBar.y);
    // The active trace combo keeps 99 pixels to the right edge (plus 5 and the border).
    const int comboX = display->Zoom()->x() + display->Zoom()->activeTrace->x();
    EXPECT_EQ(comboX, 1300 - 99 - 5 - gSettings.borderWidth);
    // The marker 1 frequency edit sits 118 from the right edge at y 516.
    const QWidget* edit = display->Markers().Panel().marker1Freq;
    EXPECT_EQ(display->Markers().Panel().x() + edit->x(), 1300 - 118 - 5 - gSettings.borderWidth);
    EXPECT_EQ(display->Markers().Panel().y() + edit->y(), 516);
    const QWidget* zoneWidth = display->Markers().Panel().zoneWidth;
    EXPECT_EQ(display->Markers().Panel().y() + zoneWidth->y(), 660);
}

TEST_F(LayoutTest, CompactModeInAndOutAtTheThreshold) {
    QSignalSpy spy(display, &TraceDisplay::CompactModeChanged);
    display->SetXZoom(1);
    display->ApplySizeChange(965, 690); // the thresholds are checked in view_layout_test.cpp
    EXPECT_EQ(gSettings.compactMode, 1);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_EQ(display->Graph()->geometry(), QRect(0, 0, 795, 690));
    EXPECT_FALSE(display->CompactSummary()->isHidden());
    EXPECT_TRUE(display->Markers().Panel().isHidden());
    EXPECT_TRUE(display->HorizontalScrollBar()->isHidden());
    EXPECT_EQ(display->CompactSummary()->TextAt(0, 1), QStringLiteral("1.0000GHz"));
    EXPECT_EQ(display->CompactSummary()->TextAt(12, 0), QStringLiteral("Measure Off"));

    display->ApplySizeChange(966, 690);
    EXPECT_EQ(gSettings.compactMode, 0);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FALSE(spy.at(1).at(0).toBool());
    EXPECT_TRUE(display->CompactSummary()->isHidden());
    EXPECT_FALSE(display->Markers().Panel().isHidden());
    EXPECT_FALSE(display->HorizontalScrollBar()->isHidden()); // zoomed: the bar comes back
    EXPECT_TRUE(display->VerticalScrollBar()->isHidden());
    EXPECT_EQ(display->Graph()->geometry(), QRect(0, 0, 700, 600));
}

TEST_F(LayoutTest, StartingUpStaysNormalUntilTheStartupTimerHasRunAndCompactRefusalsSendNothing) {
    gSettings.startingUp = 1;
    display->ApplySizeChange(700, 500);
    EXPECT_EQ(gSettings.compactMode, 0);
    display->FinishStartup();
    EXPECT_EQ(gSettings.startingUp, 0);
    ASSERT_EQ(gSettings.compactMode, 1);
    // Refusals in compact mode send nothing.
    const displaytest::ModalCloser closer;
    display->ShowTraceSelect();
    display->Markers().MarkerToCenter();
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(closer.Closed(), 2);
}
