#pragma once
// The control panel beside the trace graph: one control per analyzer setting, each committing its
// change to the settings record and the analyzer, and the panel's menu commands (Preset, Auto
// Tune, Hold/Run, Remote). The view places the block in its right column and forwards refreshes.

#include "field_changes.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class PanelLink;
class PanelView;
struct UnitLabelUpdate;

class ControlPanel : public QWidget {
    Q_OBJECT
public:
    // The right column of the form is kPanelColumnWidth wide; this block covers its part from
    // form y kFormTop down, kWidth x kHeight, placed at (column left + kColumnInset, kFormTop).
    static constexpr int kPanelColumnWidth = 266;
    static constexpr int kColumnInset = 20;
    static constexpr int kFormTop = 45;
    static constexpr int kWidth = 236;
    static constexpr int kHeight = 401;

    ControlPanel(PanelView* view, PanelLink* link, QWidget* parent = nullptr);
    ~ControlPanel() override;

    // --- Filling the controls from the record (no traffic) ---
    // Every control from the record: centre (disabled in the full span), span, bandwidths, sweep,
    // detector, calculation with its count list, scale, unit, reference, offset and both spins,
    // attenuator, impedance, marker mode, the Hold button from runState.
    void FillFromSettings();
    // Shows centerFreq with 4 decimals (automatic prefix) and enables the edit unless the span is
    // the full span.
    void ShowCenterFreq();
    // The displayed reference (refLevel + offset, rounded, plus the unit offset) in the reference
    // edit and its spin; the attenuator readout.
    void ShowReference();
    // levelOffset with one decimal in the offset edit and its spin position.
    void ShowOffset();
    // spanIndex in the span list, with the sweep list and the centre edit following the span.
    void ShowSpanIndex();
    void SelectSweepIndex(int sweepIndex); // through the position rule of the sweep list
    void SelectCountForCalc();             // number list by calcIndex and its count
    void SetAutoBoxes(bool checked);       // all three auto boxes
    // Stops the acquisition loop for an operation that needs the analyzer to itself: runState 0,
    // the Hold button unchecked and captioned "Hold". Sends nothing.
    void SetHeld();
    // The span list for modelIndex: a span index above 13 first becomes 13 and "SPAN2G" is sent
    // (the caller pauses and resumes around it); the sweep list and centre edit follow the span.
    void RebuildSpanListForModel();
    // The frequency counter needs sweeps of 0.1 s or more and a span below the full span: while it
    // is on "10ms", "30ms" and the full span are absent from their lists.
    void SetFrequencyCounterLists(bool counterOn);
    // The panel's part of a unit label update: unit combo (field entries added and the combo
    // disabled for display units 4 and 5), reference label and reference edit.
    void ApplyUnitLabelUpdate(const UnitLabelUpdate& update);
    // Shows what others (the display, the link) changed: centre, span, sweep, the Hold button,
    // the auto boxes, the counter lists, or every control for values read from the analyzer.
    // What the panel changed itself it has shown already.
    void ShowChanged(FieldSet changed);
    // The marker mode list is usable only while the marker block is.
    void SetMarkerModeEnabled(bool enabled);

    // --- Control handlers ---
    void OnCenterFreqEnter();
    void OnSpanChanged();
    void OnRbwChanged();
    void OnVbwChanged();
    void OnRbwAutoClicked();
    void OnVbwAutoClicked();
    void OnSweepAutoClicked();
    void OnSweepChanged();
    void OnRefLevelEnter();
    void OnOffsetEnter();
    void OnRefLevelSpin(int position);
    void OnOffsetSpin(int position);
    void OnUnitChanged();
    void OnScaleChanged();
    void OnDetectorChanged();
    void OnImpedanceChanged();
    void OnCalcChanged();
    void OnCountChanged();
    void OnMarkerModeChanged();
    void OnHoldButton();
    void OnAutoTuneButton();

    // --- Trace records ---
    static constexpr int kApplyWhole = 0;
    static constexpr int kApplyTraceOnly = 1;
    static constexpr int kApplySettingsOnly = 2;
    // Applies traceRecord, a loaded file (fromAnalyzer false) or a recalled memory: the active
    // slot takes its trace in every mode; whole and settings-only also take its centre, span,
    // bandwidths, sweep, detector, scale, unit and reference. Then the settings are resent
    // ("FREQ" first; the rest only if it was accepted) and the displays refreshed by mode.
    void ApplyTraceRecord(int mode, bool fromAnalyzer);

    // --- Menu commands ---
    void OnPreset();       // Control > Preset
    void OnAutoTuneMenu(); // Control > Auto Tune
    void OnHoldRunMenu();  // Control > Hold/Run
    void OnRemote();       // Control > Remote; its check mark follows remoteState
    // In the compact layout: shows "When a window is small it is not able to use it." and returns
    // true; the caller then does nothing else. Otherwise false.
    bool RefuseInCompactMode();
    bool RemoteChecked() const;

    static const char* const kCompactRefusalText;

signals:
    // The Remote menu entry's check mark.
    void remoteCheckChanged(bool checked);
    // runState changed (Hold button, Hold/Run menu, Auto Tune, Preset).
    void runStateChanged(bool running);

private:
    // The controls; each has its member name as object name.
    QLineEdit* centerEdit; // centre frequency, Return commits
    QComboBox* spanCombo;  // span list by model
    QComboBox* rbwCombo;
    QCheckBox* rbwAutoBox;
    QComboBox* vbwCombo;
    QCheckBox* vbwAutoBox;
    QLabel* referenceLabel;       // "Reference(dBm)", follows the display unit
    QLineEdit* refLevelEdit;      // whole number in the display unit, Return commits
    QSpinBox* refLevelSpin;       // position = displayed reference, -123..204
    QLineEdit* offsetEdit;        // one decimal, Return commits
    QSpinBox* offsetSpin;         // position = offset x 10 + 500, 0..1000
    QLineEdit* attenuatorReadout; // read-only
    QComboBox* unitCombo;         // 4 entries, 6 while a field-strength unit is shown
    QComboBox* scaleCombo;
    QComboBox* sweepCombo; // "10ms" absent while the span excludes it
    QCheckBox* sweepAutoBox;
    QComboBox* detectorCombo;
    QComboBox* calcCombo;
    QComboBox* countCombo; // last three entries absent in Average
    QComboBox* impedanceCombo;
    QComboBox* markerModeCombo;
    QPushButton* holdButton;     // checked while running; caption "Run" / "Hold"
    QPushButton* autoTuneButton; // checked while tuning

    void BuildControls();
    void ConnectHandlers();
    // Announces the panel's own change (ShowChanged skips it meanwhile).
    void Changed(FieldSet changed);
    void AutoReadBack(bool rbw, bool vbw, bool sweep);
    void StoreShownOffset(double dB);
    // Selects `index` when the list has it; a value the list cannot show leaves the selection.
    static void SelectIndex(QComboBox* combo, int index);
    int SweepListOffset() const;
    void SyncSweepListToSpan();
    void SetHoldCaption();
    int UnitOffset(int displayUnit);
    int DisplayedReference(int displayUnit);

    PanelView* view_;
    PanelLink* link_;
    QGroupBox* frame_;
    bool counterLists_ = false;
    bool announcing_ = false;
};
