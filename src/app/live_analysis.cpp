#include "live_analysis.h"

#include "axis_mapping.h"
#include "cw_graph.h"
#include "display_model.h"
#include "instrument_settings.h"
#include "limit_lines_dialog.h"
#include "limit_verdict_view.h"
#include "peak_table.h"
#include "peak_table_view.h"
#include "trace_display.h"
#include "trace_levels.h"
#include "waterfall_view.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

using namespace display;

namespace {

// Graph colours, red in the low byte.
constexpr uint32_t kUpperColour = 0x5050FF;   // red
constexpr uint32_t kLowerColour = 0x00AAFF;   // orange
constexpr uint32_t kFailingColour = 0xFF00FF; // magenta

int ActiveKind() {
    const int slot = std::clamp(gSettings.activeTraceSlot, 1, 10);
    return gSettings.traceKind[slot];
}

double TopLevel() {
    return ReferenceInDisplayUnit(gSettings.refLevel) + gSettings.levelOffset;
}

} // namespace

LiveAnalysis::LiveAnalysis(QMainWindow* frame, QAction* before, TraceDisplay* display)
    : QObject(display), frame_(frame), display_(display) {
    menu_ = new QMenu(QStringLiteral("View(&V)"), frame->menuBar());
    frame->menuBar()->insertMenu(before, menu_);
    waterfallAction_ = menu_->addAction(QStringLiteral("Waterfall"));
    peakTableAction_ = menu_->addAction(QStringLiteral("Peak Table"));
    limitAction_ = menu_->addAction(QStringLiteral("Limit Lines..."));
    for (QAction* a : {waterfallAction_, peakTableAction_, limitAction_})
        a->setCheckable(true);

    CCWGraph* graph = display->Graph();
    waterfall_ = new WaterfallView(graph, graph->parentWidget());
    waterfall_->hide();
    verdict_ = new LimitVerdictView(graph);
    verdict_->hide();
    graph->installEventFilter(this);

    peakTable_ = new PeakTableView;
    dock_ = new QDockWidget(QStringLiteral("Peak Table"), frame);
    dock_->setObjectName(QStringLiteral("peakTableDock"));
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    dock_->setWidget(peakTable_);
    frame->addDockWidget(Qt::RightDockWidgetArea, dock_);
    dock_->setFloating(true);
    dock_->hide();
    dock_->installEventFilter(this);
    frame->installEventFilter(this);

    connect(waterfallAction_, &QAction::toggled, this, &LiveAnalysis::SetWaterfallShown);
    connect(peakTableAction_, &QAction::toggled, this, &LiveAnalysis::SetPeakTableShown);
    connect(limitAction_, &QAction::triggered, this, &LiveAnalysis::ShowLimitDialog);
    connect(display, &TraceDisplay::TracesRedrawn, this, [this] {
        // Zoom, scroll and the level axis move the waterfall with the graph.
        if (options_.waterfall)
            waterfall_->update();
        RefreshOverlays();
    });
    connect(display, &TraceDisplay::FrequencyAxisChanged, this, [this] {
        waterfall_->FollowFrame(gSettings.centerFreq, gSettings.spanIndex);
        RefreshOverlays();
    });
    connect(peakTable_, &PeakTableView::CountChanged, this, [this](int count) {
        options_.peakCount = count;
        RefreshPeakTable();
        Save();
    });
    connect(peakTable_, &PeakTableView::PeakActivated, this,
            [this](int position) { display_->Markers().PlaceMarker1(position); });
    connect(verdict_, &LimitVerdictView::ResetRequested, this, &LiveAnalysis::ResetLimitCounts);
    // Docked, the table takes room beside the view: the window grows by it, so that the view
    // keeps its size.
    connect(dock_, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (!floating && !(frame_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            frame_->resize(frame_->width() + dock_->width(), frame_->height());
    });
    clock_.start();
}

LiveAnalysis::~LiveAnalysis() = default;

void LiveAnalysis::Start(const QString& directory) {
    const ViewOptions read = ReadViewOptions(QDir(directory).filePath(kViewOptionsFileName));
    options_ = read;
    {
        const QSignalBlocker block(peakTable_);
        peakTable_->SetCount(options_.peakCount);
    }
    waterfallAction_->setChecked(read.waterfall);
    peakTableAction_->setChecked(read.peakTable);
    limitAction_->setChecked(read.limits);
    ApplyLimitsShown();
    // From here on every change is written.
    path_ = QDir(directory).filePath(kViewOptionsFileName);
}

void LiveAnalysis::Save() {
    if (!path_.isEmpty())
        WriteViewOptions(path_, options_);
}

void LiveAnalysis::SetWaterfallShown(bool on) {
    options_.waterfall = on;
    if (!on)
        waterfall_->Clear();
    display_->SetBelowGraph(on ? waterfall_ : nullptr);
    Save();
}

void LiveAnalysis::SetPeakTableShown(bool on) {
    options_.peakTable = on;
    if (on) {
        if (dock_->isFloating() && !dock_->property("placed").toBool()) {
            // First showing: beside the main window, not over the graph.
            dock_->setProperty("placed", true);
            dock_->resize(340, 420);
            dock_->move(frame_->frameGeometry().right() + 8, frame_->geometry().top());
        }
        dock_->show();
        RefreshPeakTable();
    } else {
        dock_->hide();
    }
    Save();
}

void LiveAnalysis::ShowLimitDialog() {
    // The check mark follows the dialog's choice, not the click.
    {
        const QSignalBlocker block(limitAction_);
        limitAction_->setChecked(options_.limits);
    }
    LimitLinesDialog dialog(options_.upper, options_.lower, true, frame_);
    if (dialog.exec() == QDialog::Accepted)
        ApplyLimitLines(dialog.Upper(), dialog.Lower(), dialog.JudgeOn());
}

void LiveAnalysis::ApplyLimitLines(const LimitLine& upper, const LimitLine& lower, bool on) {
    const bool changed =
        upper != options_.upper || lower != options_.lower || on != options_.limits;
    options_.upper = upper;
    options_.lower = lower;
    options_.limits = on;
    {
        const QSignalBlocker block(limitAction_);
        limitAction_->setChecked(on);
    }
    if (changed)
        ResetLimitCounts();
    ApplyLimitsShown();
    Save();
}

void LiveAnalysis::ResetLimitCounts() {
    traces_ = 0;
    failedTraces_ = 0;
    lastJudged_ = false;
    lastPass_ = true;
    failingDots_.clear();
    verdict_->ShowVerdict(false, true, 0, 0);
    RefreshOverlays();
}

void LiveAnalysis::ApplyLimitsShown() {
    verdict_->setVisible(options_.limits);
    if (options_.limits) {
        PlaceVerdict();
        verdict_->raise();
    }
    RefreshOverlays();
}

void LiveAnalysis::TraceArrived() {
    // Held, the analysis pauses with the display.
    if (gSettings.runState == 0 || PointsOfKind(ActiveKind()) == 0)
        return;
    if (options_.waterfall)
        AddWaterfallRow();
    if (options_.peakTable)
        RefreshPeakTable();
    if (options_.limits) {
        Judge();
        RefreshOverlays();
    }
}

void LiveAnalysis::AddWaterfallRow() {
    const int points = PointsOfKind(ActiveKind());
    double levels[kDisplayPositions];
    FillDisplayArray(gSettings.traceRecord.tracePoints, points, TopLevel(), gSettings.scaleIndex,
                     levels);
    const WaterfallFrame frame{gSettings.centerFreq, gSettings.spanIndex, points};
    waterfall_->AddRow(levels, frame, static_cast<double>(clock_.elapsed()) / 1000.0);
}

void LiveAnalysis::RefreshPeakTable() {
    if (!options_.peakTable)
        return;
    const std::vector<PeakRow> rows =
        BuildPeakTable(CurrentPeakSearchInput(), options_.peakCount, CurrentAxisFrame(), TopLevel(),
                       gSettings.scaleIndex);
    peakTable_->Show(rows, ZeroSpan(), DisplayUnitName(DisplayUnit()),
                     gSettings.scaleIndex == 0 ? 2 : 1);
}

void LiveAnalysis::Judge() {
    const int kind = ActiveKind();
    double frequencies[kDisplayPositions];
    double levels[kDisplayPositions];
    const AxisFrame frame = CurrentAxisFrame();
    const int count = frame.zeroSpan
                          ? 0
                          : TracePointLevels(gSettings.traceRecord.tracePoints, kind, frame,
                                             TopLevel(), gSettings.scaleIndex, frequencies, levels);
    std::vector<int> failing;
    const LimitVerdict verdict =
        JudgeTrace(frequencies, levels, count, options_.upper, options_.lower, &failing);
    lastJudged_ = verdict.judged;
    lastPass_ = verdict.pass;
    failingDots_.clear();
    if (verdict.judged) {
        ++traces_;
        if (!verdict.pass)
            ++failedTraces_;
        const int spacing = count == 251 ? 4 : 1;
        for (int j : failing)
            failingDots_.emplace_back(j * spacing, levels[j]);
    }
    verdict_->ShowVerdict(lastJudged_, lastPass_, traces_, failedTraces_);
}

void LiveAnalysis::RefreshOverlays() {
    CCWGraph* graph = display_->Graph();
    if (!options_.limits) {
        graph->SetOverlays({});
        return;
    }
    const AxisFrame frame = CurrentAxisFrame();
    std::vector<CCWGraph::Overlay> overlays;
    for (const auto& [line, colour] :
         {std::pair{&options_.upper, kUpperColour}, std::pair{&options_.lower, kLowerColour}}) {
        CCWGraph::Overlay o;
        o.color = colour;
        for (const GraphPoint& p : LimitPolyline(*line, frame))
            o.line.emplace_back(p.x, p.y);
        overlays.push_back(std::move(o));
    }
    CCWGraph::Overlay dots;
    dots.color = kFailingColour;
    const int width = VisibleWidth(frame.xZoom);
    for (const QPointF& d : failingDots_) {
        const double x = d.x() - frame.xScroll;
        if (x >= 0 && x <= width)
            dots.dots.emplace_back(x, d.y());
    }
    overlays.push_back(std::move(dots));
    graph->SetOverlays(std::move(overlays));
}

void LiveAnalysis::PlaceVerdict() {
    const QRect area = display_->Graph()->PlotArea();
    verdict_->move(area.right() - verdict_->width() - 6, area.top() + 6);
}

bool LiveAnalysis::eventFilter(QObject* watched, QEvent* event) {
    if (watched == display_->Graph() && event->type() == QEvent::Resize) {
        PlaceVerdict();
    } else if (watched == frame_ && event->type() == QEvent::Close) {
        closing_ = true;
    } else if (watched == dock_ && event->type() == QEvent::Close && !closing_) {
        // The dock's own close button: the menu entry follows.
        peakTableAction_->setChecked(false);
    }
    return QObject::eventFilter(watched, event);
}
