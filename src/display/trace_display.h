#pragma once
// The trace display: the graph, the traces, the axis-end labels, zoom, scroll and the active
// trace, and the layout (normal or compact). It owns the marker and the measurement controllers,
// which draw on the same graph. The main view creates one, places it (ApplySizeChange) and passes
// it every change of the record (Refresh), which it hands on to the controllers.

#include "field_changes.h"
#include "marker_controller.h"
#include "measurement_controller.h"
#include "view_layout.h"

#include <QObject>

#include <memory>

class CCWGraph;
class CompactSummaryView;
class ZoomControls;
class QAction;
class QLabel;
class QScrollBar;
class QWidget;

class TraceDisplay : public QObject {
    Q_OBJECT
public:
    // Creates the graph and the display's controls as children of `view`. Without a `host`
    // (null) nothing is sent.
    TraceDisplay(QWidget* view, display::DisplayHost* host);
    ~TraceDisplay() override;

    // --- Widgets (owned by the view) ---
    CCWGraph* Graph() const { return graph_; }
    // The markers and the peak search.
    MarkerController& Markers() { return *markers_; }
    // The measuring functions and the strip under the graph.
    MeasurementController& Measurements() { return *measurements_; }
    ZoomControls* Zoom() const { return zoom_; }
    QScrollBar* HorizontalScrollBar() const { return hScroll_; } // zoomed X
    QScrollBar* VerticalScrollBar() const { return vScroll_; }   // zoomed Y
    QLabel* MinFreqLabel() const { return minFreqLabel_; }       // left axis end
    QLabel* MaxFreqLabel() const { return maxFreqLabel_; }       // right axis end
    CompactSummaryView* CompactSummary() const { return compact_; }
    // The menu entry "Detailed Trace(&D)" for the view's menu.
    QAction* DetailedTraceAction() const { return detailedTrace_; }

    // What follows on the display from a change in the record: traces, axis labels, marker
    // readouts, measurement labels, bands and cursors, the result, the peak zone and the
    // field-strength reference.
    void Refresh(FieldSet changed);

    // --- Trace display ---
    void ApplyColors();
    void UpdateTraces();
    void DrawTraceSlot(int slot);
    void UpdateTraceVisibility();
    void UpdateFrequencyLabels();
    // The unit under the graph and the two marker level captions (null: left as they are).
    void ShowUnitTexts(const char* unitLabel, const char* markerLevelLabel);
    // "Trace Select(&T)...": the dialog, or the compact-mode refusal.
    void ShowTraceSelect();
    // What OK in Trace Select stores and redraws.
    void ApplyTraceSelection(int activeTraceSlot, const int traceView[11]);

    // --- Zoom, scroll, active trace ---
    void SetXZoom(int zoom);
    void SetYZoom(int zoom);
    void SetXScroll(int position);
    void SetYScroll(int position);
    void SelectActiveTrace(int listPosition);
    // Puts the zoom, scroll and active-trace controls in step with the record.
    void SyncControls();
    // The X and Y zoom lists show "x1", as after start-up, whatever the record holds.
    void ShowZoomListsUnzoomed();

    // --- Layout ---
    // Applies a size change of the view's client area: switches the compact layout on or off
    // and places the display's widgets. Returns the geometry for the rest of the view (the
    // panel column and, in compact mode, the summary column).
    display::ViewLayout ApplySizeChange(int clientWidth, int clientHeight);
    // A widget that shares the graph's height below it in the normal layout (null: none, the
    // graph keeps its whole height). Hidden in the compact layout. Re-applies the layout.
    void SetBelowGraph(QWidget* widget);
    // The start-up timer has run: the compact layout may now be taken.
    void FinishStartup();

signals:
    // The view hides or shows the panel's own controls with this.
    void CompactModeChanged(bool compact);
    // The marker and peak-search block is enabled or disabled (the panel's marker mode list
    // follows it).
    void MarkerBlockEnabledChanged(bool enabled);
    // The user changed the active trace (combo or Trace Select); the unit labels follow it.
    void ActiveTraceChanged(int slot);
    // After UpdateTraces has redrawn the slots, and after the axis-end labels were rewritten
    // (centre, span, zoom or scroll may have moved).
    void TracesRedrawn();
    void FrequencyAxisChanged();

private:
    bool IsCompact() const;
    // The compact summary inputs taken from the display's readouts and edits.
    void FillCompactSummary();
    void Connect();
    void EnterCompactMode();
    void LeaveCompactMode();
    void PlaceWidgets(const display::ViewLayout& layout, bool moveRight, bool moveBottom);

    QWidget* view_;
    CCWGraph* graph_;
    std::unique_ptr<MarkerController> markers_;
    std::unique_ptr<MeasurementController> measurements_;
    ZoomControls* zoom_;
    QScrollBar* hScroll_;
    QScrollBar* vScroll_;
    QLabel* minFreqLabel_;
    QLabel* maxFreqLabel_;
    CompactSummaryView* compact_;
    QWidget* belowGraph_ = nullptr;
    QAction* detailedTrace_;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    double displayArray_[1001];
};
