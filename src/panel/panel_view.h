#pragma once
// What the control panel needs from the form view that holds it: the display refreshes that follow
// a setting change, the view's own operations (acquisition step, reading all settings, the auto
// tune wait window) and a way to show a message box. The main view implements it; tests implement
// it to watch the panel headless.

#include <QString>

class PanelView {
public:
    virtual ~PanelView() = default;

    // Display refreshes.
    virtual void UpdateFrequencyLabels() = 0;      // axis-end labels (time in zero span)
    virtual void UpdateMarkerReadouts() = 0;       // marker frequency and level readouts
    virtual void SyncMeasurementFrequencies() = 0; // band frequencies follow the moved axis
    virtual void UpdateChannelPowerCursors() = 0;
    virtual void UpdateAcpCursors() = 0;
    virtual void UpdateZone() = 0;
    virtual void UpdateTraces() = 0;
    // Plot visibility by the trace selection; one slot's plot redrawn.
    virtual void UpdateTraceVisibility() {}
    virtual void DrawTraceSlot(int /*slot*/) {}
    // Runs updateUnitLabels on the record and applies the result to the whole form, the panel's
    // part through ControlPanel::ApplyUnitLabelUpdate.
    virtual void UpdateUnitLabels() = 0;
    // The unit texts outside the panel: under the graph (1075) and the two marker level labels
    // (1066, 1077).
    virtual void ShowUnitTexts(const char* unitLabel, const char* markerLevelLabel) = 0;
    // Measurement labels, enabled edits, cursors and the result box for the current function.
    virtual void UpdateMeasurementLabels() = 0;

    // The view's own operations.
    virtual void SetDefaultSettings() = 0; // the record and the display state to their defaults
    virtual void ReadAllSettings() = 0;    // every setting queried, the panel redisplayed
    virtual void AcquireStep() = 0;        // fetch and show one screen
    // Runs the auto tune wait window modally: 1 when the analyzer finished or the wait timed out,
    // 2 when the user cancelled.
    virtual int RunAutoTuneWait() = 0;

    // A modal message box with an exclamation icon.
    virtual void ShowWarningBox(const QString& text) = 0;
};
