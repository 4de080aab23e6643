#include "compact_summary_view.h"
#include "widget_test_support.h"

#include <QTimer>

#include <numeric>

using namespace displaytest;
using testing::DoubleEq;
using testing::DoubleNear;
using testing::Pointwise;

TEST_F(DisplayTest, SlotsEmptyOrHiddenColoursLabelsThenLiveTracesAtReferencePlusOffsetAndZoomed) {
    gSettings.traceRecord.tracePoints[5] = 180;
    display->UpdateTraces();
    EXPECT_EQ(std::tuple(gSettings.traceRecord.tracePoints[5], Graph()->PlotValue(1, 5),
                         Graph()->PlotPointCount(2)),
              std::tuple(0, -70.0, 0));
    gSettings.traceKind[4] = tracekind::kSpectrum1001;
    display->DrawTraceSlot(4);
    EXPECT_EQ(Graph()->PlotPointCount(5), 0);
    gSettings.traceView[4] = 1;
    display->DrawTraceSlot(4);
    EXPECT_EQ(Graph()->PlotPointCount(5), 1001);
    display->DrawTraceSlot(11); // no such slot
    display->DrawTraceSlot(-1);
    gSettings.traceColor[4] = 0x123456;
    gSettings.backgroundColor = 0x101010;
    display->ApplyColors();
    EXPECT_EQ(std::pair(Graph()->PlotLineColor(5), Graph()->PlotAreaColor()),
              std::pair(0x123456u, 0x101010u));
    display->UpdateFrequencyLabels();
    EXPECT_EQ(Texts(display->MinFreqLabel(), display->MaxFreqLabel()),
              (QStringList{"990.0000M", "1.0100G"}));
    gSettings.spanIndex = 0;
    display->UpdateFrequencyLabels(); // zero span: the sweep time
    EXPECT_EQ(display->MaxFreqLabel()->text(), QStringLiteral("100.0000ms"));
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    gSettings.levelOffset = 2.5;
    uint8_t* live = gSettings.traceRecord.tracePoints;
    live[0] = 200;
    live[2] = 255;
    display->UpdateTraces();
    CCWGraph* g = display->Graph();
    // Plot 2 is trace 1's own plot, 0.4 dB a byte step; the Y axis's maximum, minimum and ticks.
    EXPECT_THAT((std::vector<double>{
                    g->PlotValue(1, 0), g->PlotValue(2, 2), g->AxisMaximum(CCWGraph::kYAxis),
                    g->AxisMinimum(CCWGraph::kYAxis), g->MajorTickInterval(CCWGraph::kYAxis),
                    1.0 * gSettings.traceStore[1][2]}),
                Pointwise(DoubleEq(), std::vector<double>{12.5, 12.5 + 22, 12.5, -67.5, 10, 255}));
    gSettings.traceKind[1] = tracekind::kSpectrum251;
    gSettings.levelOffset = -3.3;
    gSettings.scaleIndex = 0;
    std::iota(live, live + 251, uint8_t{10}); // a ramp, wrapping at 256
    display->UpdateTraces();
    ASSERT_EQ(g->PlotPointCount(1), 1001);
    // At 2 dB/div 0.08 dB a step; each point four positions wide, the last at position 1000.
    EXPECT_THAT(
        (std::vector<double>{g->PlotValue(1, 3), g->PlotValue(1, 4), g->PlotValue(1, 7),
                             g->PlotValue(1, 1000), g->AxisMaximum(CCWGraph::kYAxis),
                             g->AxisMinimum(CCWGraph::kYAxis),
                             g->MajorTickInterval(CCWGraph::kYAxis)}),
        Pointwise(DoubleNear(1e-9), std::vector<double>{-8.5, -8.42, -8.42, -8.98, 6.7, -9.3, 2}));
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    std::iota(live, live + 1001, uint8_t{0});
    display->SetXZoom(3);
    display->SetXScroll(200);
    ASSERT_EQ(g->PlotPointCount(1), 126);
    EXPECT_THAT((std::vector<double>{g->PlotValue(1, 0), g->AxisMaximum(CCWGraph::kXAxis),
                                     g->MajorTickInterval(CCWGraph::kXAxis)}),
                Pointwise(DoubleNear(1e-9), std::vector<double>{6.7, 125, 12.5}));
}

TEST_F(DisplayTest, DetailedTraceKeepsItsPointsAndChoosingAnEmptyTraceOrNoViewKeepsTheActiveShown) {
    gSettings.traceKind[3] = tracekind::kSpectrum1001;
    std::iota(gSettings.traceStore[3], gSettings.traceStore[3] + 1001, uint8_t{0});
    gSettings.traceView[3] = 1;
    gSettings.traceKind[1] = tracekind::kSpectrum251;
    display->UpdateTraceVisibility();
    display->UpdateTraces();
    CCWGraph* g = display->Graph();
    EXPECT_NE(g->PlotValue(4, 1), g->PlotValue(4, 0)); // one value per position
    display->SelectActiveTrace(1);                     // "Trace 2", empty
    display->SelectActiveTrace(0);
    EXPECT_NE(g->PlotValue(4, 1), g->PlotValue(4, 0));
    display->SelectActiveTrace(3); // "Trace 4", empty
    EXPECT_EQ(std::tuple(gSettings.activeTraceSlot, gSettings.traceView[4], g->PlotVisible(5),
                         g->PlotEnabled(5), g->PlotEnabled(2), g->PlotPointCount(5)),
              std::tuple(4, 1, true, true, false, 0));
    int view[11] = {0, 0, 0, 0, 0, 1};
    display->ApplyTraceSelection(7, view);
    EXPECT_EQ(std::tuple(std::vector<int>(gSettings.traceView + 1, gSettings.traceView + 11),
                         gSettings.activeTraceSlot, display->Zoom()->activeTrace->currentIndex(),
                         g->PlotVisible(2), g->PlotVisible(8)),
              std::tuple(std::vector<int>{0, 0, 0, 0, 1, 0, 1, 0, 0, 0}, 7, 6, false, true));
}

TEST_F(DisplayTest,
       ZoomsClampScrollByPagesRememberTheirPlaceAndScrollingRewritesReadoutsAndLabels) {
    display->SetYZoom(3);
    display->SetYScroll(70);
    EXPECT_EQ(gSettings.yScroll, 70);
    display->SetYZoom(1);
    QScrollBar* vertical = display->VerticalScrollBar();
    EXPECT_EQ(std::tuple(gSettings.yScroll, vertical->maximum(), vertical->value(),
                         Graph()->AxisMaximum(CCWGraph::kYAxis),
                         Graph()->AxisMinimum(CCWGraph::kYAxis),
                         Graph()->MajorTickInterval(CCWGraph::kYAxis)),
              std::tuple(40, 40, 40, -30.0, -70.0, 5.0));
    gSettings.scaleIndex = 0; // 2 dB/div: five scroll steps a dB, whole dB only
    display->SetYScroll(12);
    EXPECT_EQ(std::tuple(Graph()->AxisMaximum(CCWGraph::kYAxis),
                         Graph()->AxisMinimum(CCWGraph::kYAxis),
                         Graph()->MajorTickInterval(CCWGraph::kYAxis)),
              std::tuple(8.0, 0.0, 1.0));
    display->SetYZoom(0);
    EXPECT_EQ(std::pair(gSettings.yScroll, vertical->isHidden()), std::pair(0, true));
    display->SetXZoom(17);
    display->SetYZoom(-4);
    display->SetYScroll(55);
    EXPECT_EQ(std::tuple(gSettings.xZoom, gSettings.yZoom, gSettings.yScroll), std::tuple(3, 0, 0));
    display->SetXZoom(2);
    QScrollBar* bar = display->HorizontalScrollBar();
    EXPECT_EQ(std::tuple(bar->isHidden(), bar->maximum(), bar->pageStep()),
              std::tuple(false, 750, 250));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(gSettings.xScroll, 250);
    display->SetXScroll(5000);
    EXPECT_EQ(gSettings.xScroll, 750);
    display->SetXScroll(300);
    display->SetXZoom(0);
    EXPECT_EQ(std::pair(bar->isHidden(), gSettings.xScroll), std::pair(true, 0));
    display->SetXZoom(2);
    EXPECT_EQ(std::pair(gSettings.xScroll, bar->value()), std::pair(300, 300));
    display->SetXZoom(3);
    EXPECT_EQ(std::pair(gSettings.xScroll, display->MinFreqLabel()->text()),
              std::pair(300, QStringLiteral("996.0000M")));
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    display->UpdateTraces();
    display->SetXZoom(1);
    display->Graph()->SetCursorX(1, 0);
    display->SetXScroll(100);
    EXPECT_EQ(Texts(Panel()->marker1Freq, display->MinFreqLabel(), display->MaxFreqLabel()),
              (QStringList{"992.0000M", "992.0000M", "1.0020G"}));
}

TEST_F(DisplayTest, LayoutsCompactModeAndStartingUpAndCompactRefusalsSendNothing) {
    gSettings.borderWidth = 2;
    EXPECT_FALSE(display->ApplySizeChange(1300, 850).compact);
    const MarkerPanel& panel = *Panel();
    // The graph, scroll bars, frequency labels; the right panel, trace combo, two edits, strip.
    EXPECT_EQ((std::vector<QRect>{Graph()->geometry(), display->HorizontalScrollBar()->geometry(),
                                  display->VerticalScrollBar()->geometry(),
                                  display->MinFreqLabel()->geometry(),
                                  display->MaxFreqLabel()->geometry()}),
              (std::vector<QRect>{QRect(0, 0, 1034, 760), QRect(0, 765, 1034, 17),
                                  QRect(1033, 0, 17, 760), QRect(28, 786, 72, 15),
                                  QRect(973, 786, 72, 15)}));
    EXPECT_EQ(
        (std::vector<int>{panel.x(), panel.y(), display->Zoom()->x(),
                          display->Zoom()->x() + display->Zoom()->activeTrace->x(),
                          panel.x() + panel.marker1Freq->x(), panel.y() + panel.marker1Freq->y(),
                          panel.y() + panel.zoneWidth->y(), Strip()->y()}),
        (std::vector<int>{1052, 455, 1052, 1194, 1175, 516, 660, 795}));
    QSignalSpy spy(display, &TraceDisplay::CompactModeChanged);
    display->SetXZoom(1);
    auto state = [this, &spy] {
        return std::tuple(gSettings.compactMode, Graph()->geometry(),
                          display->CompactSummary()->isHidden(), Panel()->isHidden(),
                          display->HorizontalScrollBar()->isHidden(),
                          display->VerticalScrollBar()->isHidden(), spy.count());
    };
    display->ApplySizeChange(965, 690); // the thresholds are checked in view_layout_test.cpp
    EXPECT_EQ(state(), std::tuple(1, QRect(0, 0, 795, 690), false, true, true, true, 1));
    const CompactSummaryView* summary = display->CompactSummary();
    EXPECT_EQ((QStringList{summary->TextAt(0, 1), summary->TextAt(12, 0)}),
              (QStringList{"1.0000GHz", "Measure Off"}));
    display->ApplySizeChange(966, 690); // zoomed, the horizontal bar comes back
    EXPECT_EQ(state(), std::tuple(0, QRect(0, 0, 700, 600), true, false, false, true, 2));
    EXPECT_EQ(static_cast<QList<QVariantList>>(spy), (QList<QVariantList>{{true}, {false}}));
    gSettings.startingUp = 1;
    display->ApplySizeChange(700, 500);
    EXPECT_EQ(gSettings.compactMode, 0);
    display->FinishStartup();
    ASSERT_EQ(std::pair(gSettings.startingUp, gSettings.compactMode), std::pair(0, 1));
    int closed = 0; // the refusals' message boxes
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&closed] {
        if (QWidget* modal = QApplication::activeModalWidget())
            closed += modal->close();
    });
    closer.start(10);
    display->ShowTraceSelect();
    display->Markers().MarkerToCenter();
    EXPECT_EQ(std::pair(host.events.empty(), closed), std::pair(true, 2));
}
