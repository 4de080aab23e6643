#include "view_layout.h"

#include "instrument_settings.h"

#include <gtest/gtest.h>

using namespace display;

TEST(ViewLayoutGeometry, NormalLayoutLeavesPanelAndStrip) {
    const ViewLayout l = ComputeViewLayout(1200, 800, false, 2);
    EXPECT_EQ(l.graph, (Rect{0, 0, 934, 710}));
    EXPECT_EQ(l.hScrollBar.y, 715);
    EXPECT_EQ(l.hScrollBar.width, 934);
    EXPECT_EQ(l.vScrollBar.x, 1200 - 265 - 2);
    EXPECT_EQ(l.vScrollBar.height, 710);
    EXPECT_EQ(l.maxFreqLabel.x, 1200 - 325 - 2);
    EXPECT_EQ(l.maxFreqLabel.y, 736);
    EXPECT_EQ(l.minFreqLabel.x, 28);
    EXPECT_EQ(l.rightPanel.x, 1200 - 246 - 2);
    EXPECT_EQ(RightPanelX(1200, 99, 2), 1094); // the active trace combo
    EXPECT_EQ(BottomStripY(800, 53), 747);
}

TEST(ViewLayoutGeometry, CompactLayoutGivesTheGraphAllButTheColumn) {
    const ViewLayout l = ComputeViewLayout(900, 600, true, 0);
    EXPECT_TRUE(l.compact);
    EXPECT_EQ(l.graph, (Rect{0, 0, 730, 600}));
    EXPECT_EQ(l.compactColumn, (Rect{735, 0, 160, 600}));
}

TEST(ViewLayoutGeometry, TinyOrNegativeSizesGiveEmptyRects) {
    const ViewLayout l = ComputeViewLayout(-5, 10, false, 0);
    EXPECT_EQ(l.graph.width, 0);
    EXPECT_EQ(l.graph.height, 0);
}

// Starting up is checked through ApplySizeChange below and through the widget.
TEST(CompactThreshold, EntersBelowEitherMinimumAndLeavesOnlyAtBoth) {
    struct Case {
        int width, height;
        bool compact;
        LayoutChange change;
    };
    for (const Case& c :
         {Case{965, 800, false, LayoutChange::EnterCompact},
          Case{1200, 689, false, LayoutChange::EnterCompact},
          Case{966, 690, false, LayoutChange::None}, Case{966, 689, true, LayoutChange::None},
          Case{965, 690, true, LayoutChange::None},
          Case{966, 690, true, LayoutChange::LeaveCompact}})
        EXPECT_EQ(DecideLayoutChange(c.width, c.height, false, c.compact), c.change)
            << c.width << "x" << c.height << " " << c.compact;
}

class SizeChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        gSettings.startingUp = 0;
        gSettings.lastLayoutWidth = 0;
        gSettings.lastLayoutHeight = 0;
    }
};

TEST_F(SizeChangeTest, WidthMovesThePanelHeightTheStripCompactBoth) {
    LayoutMoves m = ApplySizeChange(1200, 800, 1);
    EXPECT_TRUE(m.moveRightPanel);
    EXPECT_TRUE(m.moveBottomStrip);
    m = ApplySizeChange(1300, 800, 1);
    EXPECT_TRUE(m.moveRightPanel);
    EXPECT_FALSE(m.moveBottomStrip);
    m = ApplySizeChange(1300, 900, 1);
    EXPECT_FALSE(m.moveRightPanel);
    EXPECT_TRUE(m.moveBottomStrip);
    EXPECT_EQ(gSettings.lastLayoutWidth, 1300);
    EXPECT_EQ(gSettings.borderWidth, 0); // read only while starting up

    // Compact in and out forces a full layout.
    m = ApplySizeChange(965, 800, 1);
    EXPECT_EQ(m.change, LayoutChange::EnterCompact);
    EXPECT_EQ(gSettings.compactMode, 1);
    m = ApplySizeChange(1200, 800, 1);
    EXPECT_EQ(m.change, LayoutChange::LeaveCompact);
    EXPECT_EQ(gSettings.compactMode, 0);
    EXPECT_TRUE(m.moveRightPanel);
    EXPECT_TRUE(m.moveBottomStrip);
}

TEST_F(SizeChangeTest, BorderWidthIsReadWhileStartingUp) {
    gSettings.startingUp = 1;
    const LayoutMoves m = ApplySizeChange(500, 400, 3);
    EXPECT_EQ(m.change, LayoutChange::None);
    EXPECT_EQ(gSettings.borderWidth, 3);
    EXPECT_EQ(gSettings.compactMode, 0);
}
