#pragma once
// The View menu's live analysis on the PC: the waterfall under the graph, the peak table in a
// dock and the limit lines with their PASS/FAIL verdict. None of it talks to the analyzer or
// touches "Orvel.ini"; its options live in "Orvel-view.ini" (view_options.h).

#include "limit_lines.h"
#include "view_options.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QString>

#include <vector>

class LimitVerdictView;
class PeakTableView;
class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class TraceDisplay;
class WaterfallView;

class LiveAnalysis : public QObject {
    Q_OBJECT
public:
    // Adds the "View(&V)" menu before `before` (the Help menu's entry) of the frame's menu bar.
    // Lives as long as the display.
    LiveAnalysis(QMainWindow* frame, QAction* before, TraceDisplay* display);
    ~LiveAnalysis() override;

    // Reads the options file in `directory` and shows what was on. Until then nothing shows.
    void Start(const QString& directory);

    // A new trace reached the active slot (the acquisition step has drawn it).
    void TraceArrived();

    // What OK in the "Limit Lines" dialog does.
    void ApplyLimitLines(const display::LimitLine& upper, const display::LimitLine& lower, bool on);
    void ResetLimitCounts();

    QMenu* Menu() const { return menu_; }
    QAction* WaterfallAction() const { return waterfallAction_; }
    QAction* PeakTableAction() const { return peakTableAction_; }
    QAction* LimitLinesAction() const { return limitAction_; }
    WaterfallView* Waterfall() const { return waterfall_; }
    PeakTableView* PeakTable() const { return peakTable_; }
    QDockWidget* PeakDock() const { return dock_; }
    LimitVerdictView* Verdict() const { return verdict_; }
    const ViewOptions& Options() const { return options_; }
    int TracesJudged() const { return traces_; }
    int TracesFailed() const { return failedTraces_; }
    QString OptionsPath() const { return path_; }

private:
    void SetWaterfallShown(bool on);
    void SetPeakTableShown(bool on);
    void ShowLimitDialog();
    void ApplyLimitsShown();
    void AddWaterfallRow();
    void RefreshPeakTable();
    void Judge();
    void RefreshOverlays();
    void PlaceVerdict();
    void Save();
    bool eventFilter(QObject* watched, QEvent* event) override;

    QMainWindow* frame_;
    TraceDisplay* display_;
    QMenu* menu_;
    QAction* waterfallAction_;
    QAction* peakTableAction_;
    QAction* limitAction_;
    WaterfallView* waterfall_;
    PeakTableView* peakTable_;
    QDockWidget* dock_;
    LimitVerdictView* verdict_;
    ViewOptions options_;
    QString path_; // empty until Start: nothing is written before
    QElapsedTimer clock_;
    int traces_ = 0;
    int failedTraces_ = 0;
    bool closing_ = false;
    bool lastJudged_ = false;
    bool lastPass_ = true;
    std::vector<QPointF> failingDots_; // display position and level of failing points
};
