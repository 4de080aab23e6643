#include "widget_test_support.h"

#include <QImage>

#include <memory>

namespace {

class GraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvel::test::EnsureQtApplication();
        holder = std::make_unique<CCWGraph>();
        graph().resize(1000, 700);
        graph().SetAxisLimits(CCWGraph::kXAxis, 1000, 0);
        graph().SetAxisLimits(CCWGraph::kYAxis, 10, -70);
        graph().SetCursorX(1, 500);
        graph().SetCursorX(2, 200);
    }

    void Mouse(QEvent::Type type, double x, Qt::MouseButtons buttons) {
        displaytest::SendMouse(&graph(), type, x, buttons);
    }
    void Drag(double fromX, double toX) {
        Mouse(QEvent::MouseButtonPress, graph().XToPixel(fromX), Qt::LeftButton);
        Mouse(QEvent::MouseMove, graph().XToPixel(toX), Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, graph().XToPixel(toX), Qt::NoButton);
    }

    CCWGraph& graph() { return *holder; }
    std::unique_ptr<CCWGraph> holder;
};

} // namespace

TEST_F(GraphTest, DraggingACursorMovesItClampedAndOnlyVisibleEnabledOnesNearThePress) {
    QSignalSpy moved(&graph(), &CCWGraph::CursorMoved);
    QSignalSpy released(&graph(), &CCWGraph::CursorReleased);
    Drag(500, 700);
    EXPECT_NEAR(graph().CursorX(1), 700, 1.5);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 1);
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(graph().CursorX(2), 200);
    // Past either end the drag is clamped.
    graph().SetCursorX(1, 500);
    Mouse(QEvent::MouseButtonPress, graph().XToPixel(500), Qt::LeftButton);
    Mouse(QEvent::MouseMove, graph().width() + 300, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(graph().CursorX(1), 1000);
    Mouse(QEvent::MouseMove, -300, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(graph().CursorX(1), 0);
    Mouse(QEvent::MouseButtonRelease, -300, Qt::NoButton);
    graph().SetCursorX(1, 500);
    Drag(600, 800); // nothing near 600
    EXPECT_EQ(graph().CursorX(1), 500);
    graph().SetCursorEnabled(1, false);
    Drag(500, 800);
    EXPECT_EQ(graph().CursorX(1), 500);
    graph().SetCursorEnabled(1, true);
    graph().SetCursorVisible(1, false);
    Drag(500, 800);
    EXPECT_EQ(graph().CursorX(1), 500);
}

TEST_F(GraphTest, CursorYReadsTheActiveTraceUnderTheCursorAndBadIndexesAreIgnored) {
    std::vector<double> values(1001);
    for (int k = 0; k < 1001; ++k)
        values[k] = -k / 10.0;
    graph().PlotY(1, values.data(), 1001);
    EXPECT_DOUBLE_EQ(graph().CursorY(1), -50.0);
    graph().SetCursorX(1, 2000); // past the data: the last value
    EXPECT_DOUBLE_EQ(graph().CursorY(1), -100.0);
    graph().PlotY(1, nullptr, 0);
    EXPECT_DOUBLE_EQ(graph().CursorY(1), 0.0);
    const double v[1] = {1};
    graph().PlotY(0, v, 1);
    graph().PlotY(12, v, 1);
    graph().SetCursorX(12, 5);
    graph().SetPlotLineColor(-1, 0xFF);
    EXPECT_EQ(graph().CursorX(0), 0);
    EXPECT_EQ(graph().PlotPointCount(12), 0);
    EXPECT_EQ(graph().AxisMaximum(3), 0);
}

TEST_F(GraphTest, PaintsGridTracesAndCursorsInTheirColoursAndWildValuesSafely) {
    graph().SetPlotAreaColor(0x000000);
    graph().SetGridColor(CCWGraph::kXAxis, 0x808000); // teal, red in the low byte
    graph().SetGridColor(CCWGraph::kYAxis, 0x808000);
    graph().SetMajorTickInterval(CCWGraph::kXAxis, 100);
    graph().SetMajorTickInterval(CCWGraph::kYAxis, 10);
    std::vector<double> flat(1001, -30.0);
    graph().PlotY(2, flat.data(), 1001);
    graph().SetPlotLineColor(2, 0x00FF00);
    graph().SetCursorColor(1, 0xFFFF00); // cyan
    QImage image(graph().size(), QImage::Format_RGB32);
    graph().render(&image);
    const QRect area = graph().PlotArea();
    const int traceY = static_cast<int>(area.top() + 40.0 / 80.0 * (area.height() - 1) + 0.5);
    EXPECT_EQ(QColor(image.pixel(area.left() + 37, traceY)), QColor(0, 255, 0));
    const int cursorX = static_cast<int>(graph().XToPixel(500) + 0.5);
    EXPECT_EQ(QColor(image.pixel(cursorX, area.top() + 100)), QColor(0, 255, 255));
    EXPECT_EQ(QColor(image.pixel(area.left() + 37, area.top() + 50)), QColor(0, 0, 0));
    EXPECT_EQ(QColor(image.pixel(area.left(), area.top() + 50)), QColor(0, 128, 128));
    // Wild values and an empty range are drawn without harm.
    std::vector<double> wild = {1e300, -1e300, 0, 1e12, -5, 1e-300};
    graph().PlotY(3, wild.data(), static_cast<int>(wild.size()));
    graph().SetAxisLimits(CCWGraph::kYAxis, 10, 10); // empty range
    graph().SetMajorTickInterval(CCWGraph::kYAxis, 1e-12);
    image.fill(Qt::white);
    graph().render(&image); // no crash, no hang
}
