#pragma once
// What the control panel needs from the window that holds it: the auto tune wait window and a
// message box. What the panel changes in the record it announces with NotifyChanged
// (field_changes.h); the main view implements this, tests implement it to watch the panel.

#include <QString>

class PanelView {
public:
    virtual ~PanelView() = default;

    // Runs the auto tune wait window modally: 1 when the analyzer finished or the wait timed out,
    // 2 when the user cancelled.
    virtual int RunAutoTuneWait() = 0;
    // A modal message box with an exclamation icon.
    virtual void ShowWarningBox(const QString& text) = 0;
};
