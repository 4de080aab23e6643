#include "widget_test_support.h"

#include <QImage>

using displaytest::SendMouse;

namespace {

class GraphTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { orvel::test::EnsureQtApplication(); }
    GraphTest() {
        g.resize(1000, 700);
        g.SetAxisLimits(CCWGraph::kXAxis, 1000, 0);
        g.SetAxisLimits(CCWGraph::kYAxis, 10, -70);
        g.SetCursorX(1, 500);
        g.SetCursorX(2, 200);
    }
    void Drag(double fromX, double toX) {
        SendMouse(&g, QEvent::MouseButtonPress, g.XToPixel(fromX), Qt::LeftButton);
        SendMouse(&g, QEvent::MouseMove, g.XToPixel(toX), Qt::LeftButton);
        SendMouse(&g, QEvent::MouseButtonRelease, g.XToPixel(toX), Qt::NoButton);
    }

    CCWGraph g;
};

} // namespace

TEST_F(GraphTest, DraggedCursorsMoveClampedOnlyVisibleEnabledOnesAndReadTheTraceUnderThem) {
    QSignalSpy moved(&g, &CCWGraph::CursorMoved);
    QSignalSpy released(&g, &CCWGraph::CursorReleased);
    Drag(500, 700);
    EXPECT_NEAR(g.CursorX(1), 700, 1.5);
    ASSERT_EQ(std::pair(moved.count(), released.count()), std::pair(qsizetype{1}, qsizetype{1}));
    EXPECT_EQ(std::pair(moved.at(0).at(0).toInt(), g.CursorX(2)), std::pair(1, 200.0));
    g.SetCursorX(1, 500);
    SendMouse(&g, QEvent::MouseButtonPress, g.XToPixel(500), Qt::LeftButton);
    SendMouse(&g, QEvent::MouseMove, g.width() + 300, Qt::LeftButton);
    const double right = g.CursorX(1);
    SendMouse(&g, QEvent::MouseMove, -300, Qt::LeftButton);
    EXPECT_EQ(std::pair(right, g.CursorX(1)), std::pair(1000.0, 0.0));
    SendMouse(&g, QEvent::MouseButtonRelease, -300, Qt::NoButton);
    // Nothing near 600; then a disabled, then a hidden cursor: none moves.
    g.SetCursorX(1, 500);
    Drag(600, 800);
    g.SetCursorEnabled(1, false);
    Drag(500, 800);
    const double disabledX = g.CursorX(1);
    g.SetCursorEnabled(1, true);
    g.SetCursorVisible(1, false);
    Drag(500, 800);
    EXPECT_EQ(std::pair(disabledX, g.CursorX(1)), std::pair(500.0, 500.0));
    // The cursor reads the trace under it.
    std::vector<double> values(1001);
    for (int k = 0; k < 1001; ++k)
        values[k] = -k / 10.0;
    g.PlotY(1, values.data(), 1001);
    const double atCursor = g.CursorY(1);
    g.SetCursorX(1, 2000); // past the data: the last value
    const double pastTheData = g.CursorY(1);
    g.PlotY(1, nullptr, 0);
    EXPECT_EQ(std::tuple(atCursor, pastTheData, g.CursorY(1)), std::tuple(-50.0, -100.0, 0.0));
    const double v[1] = {1};
    g.PlotY(0, v, 1);
    g.PlotY(12, v, 1);
    g.SetCursorX(12, 5);
    g.SetPlotLineColor(-1, 0xFF);
    EXPECT_EQ(std::tuple(g.CursorX(0), g.PlotPointCount(12), g.AxisMaximum(3)),
              std::tuple(0.0, 0, 0.0));
}

TEST_F(GraphTest, PaintsGridTracesAndCursorsInTheirColoursAndWildValuesSafely) {
    g.SetPlotAreaColor(0x000000);
    g.SetGridColor(CCWGraph::kXAxis, 0x808000); // teal, red in the low byte
    g.SetGridColor(CCWGraph::kYAxis, 0x808000);
    g.SetMajorTickInterval(CCWGraph::kXAxis, 100);
    g.SetMajorTickInterval(CCWGraph::kYAxis, 10);
    std::vector<double> flat(1001, -30.0);
    g.PlotY(2, flat.data(), 1001);
    g.SetPlotLineColor(2, 0x00FF00);
    g.SetCursorColor(1, 0xFFFF00); // cyan
    QImage image(g.size(), QImage::Format_RGB32);
    g.render(&image);
    const QRect area = g.PlotArea();
    const int traceY = static_cast<int>(area.top() + 40.0 / 80.0 * (area.height() - 1) + 0.5);
    const int cursorX = static_cast<int>(g.XToPixel(500) + 0.5);
    // The trace, the cursor, the plot area and a grid line.
    EXPECT_EQ(
        (std::vector<QRgb>{image.pixel(area.left() + 37, traceY),
                           image.pixel(cursorX, area.top() + 100),
                           image.pixel(area.left() + 37, area.top() + 50),
                           image.pixel(area.left(), area.top() + 50)}),
        (std::vector<QRgb>{qRgb(0, 255, 0), qRgb(0, 255, 255), qRgb(0, 0, 0), qRgb(0, 128, 128)}));
    // Wild values and an empty range are drawn without harm.
    std::vector<double> wild = {1e300, -1e300, 0, 1e12, -5, 1e-300};
    g.PlotY(3, wild.data(), static_cast<int>(wild.size()));
    g.SetAxisLimits(CCWGraph::kYAxis, 10, 10); // empty range
    g.SetMajorTickInterval(CCWGraph::kYAxis, 1e-12);
    image.fill(Qt::white);
    g.render(&image); // no crash, no hang
}
