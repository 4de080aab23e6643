#pragma once
// The trace display: the graph and the controls beside and under it that the display owns, and
// the view operations that draw traces, markers, zones and measurement bands, zoom and scroll the
// graph and lay the view out. The main view creates one, places its widgets (see ApplySizeChange)
// and passes it every change of the record (Refresh).

#include "display_host.h"
#include "field_changes.h"
#include "measurement_bands.h"
#include "view_layout.h"

#include <QObject>

class CCWGraph;
class CompactSummaryView;
class MarkerPanel;
class MeasurementStrip;
class ZoomControls;
class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
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
    MarkerPanel* Markers() const { return markers_; }
    MeasurementStrip* Strip() const { return strip_; }
    ZoomControls* Zoom() const { return zoom_; }
    QScrollBar* HorizontalScrollBar() const { return hScroll_; } // zoomed X
    QScrollBar* VerticalScrollBar() const { return vScroll_; }   // zoomed Y
    QLabel* MinFreqLabel() const { return minFreqLabel_; }       // left axis end
    QLabel* MaxFreqLabel() const { return maxFreqLabel_; }       // right axis end
    CompactSummaryView* CompactSummary() const { return compact_; }
    // Menu entries for the view's menus: "Detailed Trace(&D)" and the four "Marker Display"
    // entries ("Marker 1 and 2", "Marker 1 Only", "Marker 2 Only", "Marker None").
    QAction* DetailedTraceAction() const { return detailedTrace_; }
    QAction* MarkerDisplayAction(int entry) const;

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

    // --- Markers and peak search ---
    void UpdateMarkerReadouts();
    void UpdateZone();
    void Peak();
    void Next();
    void SelectNormalPeakMode();
    void SelectZonePeakMode();
    void SelectMarker(int marker); // 1 or 2
    void CommitMarker1();          // Enter in the marker 1 frequency edit
    void CommitMarker2();
    void CommitZoneCenter();
    void CommitZoneWidth();
    // "Marker to CF": the compact-mode refusal, or the centre moved to marker 1.
    void MarkerToCenter();
    // 0 "Marker 1 and 2", 1 "Marker 1 Only", 2 "Marker 2 Only", 3 "Marker None".
    void SetMarkerDisplay(int entry);

    // --- Measuring functions ---
    // "Measuring Function(&M)..." and the "Mesuring Function" button.
    void ShowMeasuringFunction();
    // What OK in the dialog does with the chosen function and sub-modes.
    void ApplyMeasureChoice(const display::MeasureChoice& choice);
    void UpdateMeasurementDisplay();
    void SyncMeasurementFrequencies();
    // After a "MEASRES" reply: show it and reposition the current function's cursors.
    void ShowMeasureResult();
    // Where the occupied bandwidth cursors come from when the cursors are placed.
    enum class ObwCursors {
        Keep,            // left where they are
        FromShownResult, // from the result on show; nothing is asked of the analyzer
        FromReply,       // from the last reply, asking "MEASRES" when it is no result
    };
    // The cursors of the current function: channel power and adjacent channel from the stored
    // band frequencies, occupied bandwidth as `obw` says.
    void PlaceMeasurementCursors(ObwCursors obw);
    void CommitMeasureEdit(display::MeasureEdit edit);
    // Writes the parameter edits from the settings record.
    void RefreshMeasureEdits();
    void ApplyEditTextColors();

    // --- Zoom, scroll, active trace ---
    void SetXZoom(int zoom);
    void SetYZoom(int zoom);
    void SetXScroll(int position);
    void SetYScroll(int position);
    void SelectActiveTrace(int listPosition);
    // Puts the zoom, scroll and active-trace controls in step with the record.
    void SyncControls();

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
    bool IsCompact() const;
    // Shows the refusal when compact; true when the caller must stop.
    bool RefuseWhenCompact();
    // The compact summary inputs taken from the display's readouts and edits.
    void FillCompactSummary();

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
    // Sends "MEASRES" and shows the reply in the result box.
    void AskMeasureResult();
    void UpdateChannelPowerCursors();
    void UpdateAcpCursors();
    void UpdateObwDisplay();
    void Connect();
    void Pause();
    void Resume();
    int Send(display::DisplayCommand command);
    const char* LastReply() const;
    int MovedMarker() const;
    void PlaceMarker(int x);
    void RunPeakSearch();
    void CommitZoneValue(double* field, display::DisplayCommand set, display::DisplayCommand query,
                         QLineEdit* edit);
    void PositionObwCursors(const char* text);
    void EnterCompactMode();
    void LeaveCompactMode();
    void PlaceWidgets(const display::ViewLayout& layout, bool moveRight, bool moveBottom);
    void ApplyMarkerCursorVisibility(bool marker2Allowed);

    QWidget* view_;
    display::DisplayHost* host_;
    CCWGraph* graph_;
    MarkerPanel* markers_;
    MeasurementStrip* strip_;
    ZoomControls* zoom_;
    QScrollBar* hScroll_;
    QScrollBar* vScroll_;
    QLabel* minFreqLabel_;
    QLabel* maxFreqLabel_;
    CompactSummaryView* compact_;
    QWidget* belowGraph_ = nullptr;
    QAction* detailedTrace_;
    QActionGroup* markerDisplay_;
    int markerDisplayEntry_ = 0;
    int lastWidth_ = 0;
    int lastHeight_ = 0;
    double displayArray_[1001];
};
