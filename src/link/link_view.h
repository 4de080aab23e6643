#pragma once
// What the link needs from the window: panel controls, displays, the busy cursor and message
// boxes. The view implements it and registers itself with SetLinkView; without a view every call
// does nothing, so the link runs headless (tests, tools).

#include "instrument_settings.h"

// Warning is the exclamation icon.
enum class MessageIcon { Information, Warning, Error };

class LinkView {
public:
    virtual ~LinkView() = default;

    // --- Cursor and messages ---
    // Busy cursor (arrow with hourglass) on and off; the link balances the two on every return.
    virtual void SetWaitCursor(bool /*on*/) {}
    // A modal message box with exactly this caption, text and icon. `ownedByView` is false for
    // the boxes that have no owner window.
    virtual void ShowMessage(MessageIcon /*icon*/, const char* /*caption*/, const char* /*text*/,
                             bool /*ownedByView*/ = true) {}

    // --- Acquisition step ---
    // The check mark of "Detailed Trace(&D)", read back before each acquisition.
    virtual int DetailedTraceChecked() { return gSettings.detailedTrace; }
    // New trace data: redraw all slots (display).
    virtual void UpdateTraces() {}
    // The sweep-time and level-unit labels that follow each acquisition.
    virtual void UpdateSweepAndUnitLabels() {}
    // Measurement result box (control 1072).
    virtual void ShowMeasurementResult(const char* /*text*/) {}
    // Measurement displays by function: 1 channel power, 2 adjacent channel, 3 occupied bandwidth.
    virtual void UpdateChannelPowerCursors() {}
    virtual void UpdateAcpCursors() {}
    virtual void UpdateObwDisplay() {}

    // --- All Reading / All Setting ---
    // One setting was just read from the analyzer: show it in its panel control. `queryCode` is
    // the query (200..238) or, for the version reply, the command code 143. For the count
    // queries (221..223) this is the calculation count list.
    virtual void ShowReadSetting(int /*queryCode*/) {}
    // The analyzer did not answer: fill every panel control and label from the record.
    virtual void ShowAllSettings() {}
    // Frequency axis after the span was read; level axis after the measuring function was read.
    virtual void UpdateFrequencyAxis() {}
    virtual void UpdateLevelAxis() {}
    // Check mark of "Remote(&E)".
    virtual void SetRemoteChecked(int /*on*/) {}
    // Clears the auto box of RBW (command 104), VBW (105) or sweep time (128).
    virtual void ClearAutoBox(int /*commandCode*/) {}
    // Measurement labels: names, captions, enabled edits and cursors of the current function.
    virtual void UpdateMeasurementDisplay() {}
    // Field-strength functions (measureIndex 4 and 5): the link has just recomputed
    // fieldRefLevel for `antennaIndex` or `probeIndex`; refresh the field-strength display.
    virtual void UpdateFieldStrengthDisplay() {}
    // Peak zone cursors and zone peak (peak mode ZONE).
    virtual void UpdateZone() {}
};

// Registers the view (nullptr: back to the headless default). The view must outlive its
// registration.
void SetLinkView(LinkView* view);
// The registered view, or the headless default; never null.
LinkView& LinkViewRef();
