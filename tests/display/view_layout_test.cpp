#include "view_layout.h"

#include "instrument_settings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace display;

TEST(ViewLayoutGeometry, NormalCompactAndTinyLayoutsAndTheCompactThreshold) {
    const ViewLayout l = ComputeViewLayout(1200, 800, false, 2);
    EXPECT_EQ(l.graph, (Rect{0, 0, 934, 710}));
    EXPECT_EQ(
        (std::vector<int>{l.hScrollBar.y, l.hScrollBar.width, l.vScrollBar.x, l.vScrollBar.height,
                          l.maxFreqLabel.x, l.maxFreqLabel.y, l.minFreqLabel.x, l.rightPanel.x}),
        (std::vector<int>{715, 934, 1200 - 265 - 2, 710, 1200 - 325 - 2, 736, 28, 1200 - 246 - 2}));
    EXPECT_EQ(RightPanelX(1200, 99, 2), 1094); // the active trace combo
    EXPECT_EQ(BottomStripY(800, 53), 747);
    const ViewLayout compact = ComputeViewLayout(900, 600, true, 0);
    EXPECT_TRUE(compact.compact);
    EXPECT_EQ(compact.graph, (Rect{0, 0, 730, 600}));
    EXPECT_EQ(compact.compactColumn, (Rect{735, 0, 160, 600}));
    EXPECT_EQ(ComputeViewLayout(-5, 10, false, 0).graph, Rect{}); // tiny or negative: empty
    // Compact below either minimum, normal again only at both.
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

// Starting up is checked through ApplySizeChange below and through the widget.

class SizeChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        gSettings.startingUp = 0;
        gSettings.lastLayoutWidth = 0;
        gSettings.lastLayoutHeight = 0;
    }
};

TEST_F(SizeChangeTest, BorderWidthIsReadWhileStartingUpWidthMovesThePanelHeightTheStrip) {
    gSettings.startingUp = 1;
    const LayoutMoves m = ApplySizeChange(500, 400, 3);
    EXPECT_EQ(m.change, LayoutChange::None);
    EXPECT_EQ(gSettings.borderWidth, 3);
    EXPECT_EQ(gSettings.compactMode, 0);
    gSettings.startingUp = 0;
    struct Step {
        int width, height;
        LayoutChange change;
        bool moveRightPanel, moveBottomStrip;
        int compactMode;
    };
    for (const Step& s : {Step{1200, 800, LayoutChange::None, true, true, 0},
                          Step{1300, 800, LayoutChange::None, true, false, 0},
                          Step{1300, 900, LayoutChange::None, false, true, 0},
                          Step{965, 800, LayoutChange::EnterCompact, false, false, 1},
                          Step{1200, 800, LayoutChange::LeaveCompact, true, true, 0}}) {
        const LayoutMoves m = ApplySizeChange(s.width, s.height, 1);
        EXPECT_EQ(m.change, s.change) << s.width << "x" << s.height;
        EXPECT_EQ(m.moveRightPanel, s.moveRightPanel) << s.width << "x" << s.height;
        EXPECT_EQ(m.moveBottomStrip, s.moveBottomStrip) << s.width << "x" << s.height;
        EXPECT_EQ(gSettings.compactMode, s.compactMode) << s.width << "x" << s.height;
        EXPECT_EQ(gSettings.lastLayoutWidth, s.width);
    }
    EXPECT_EQ(gSettings.borderWidth, 3); // read only while starting up
}
