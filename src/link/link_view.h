#pragma once
// What the link needs from the window: the busy cursor and message boxes. What the link changes
// in the record it announces with NotifyChanged (field_changes.h). The view implements it and
// registers itself with SetLinkView; without a view every call does nothing, so the link runs
// headless (tests, tools).

#include "instrument_settings.h"

// Warning is the exclamation icon.
enum class MessageIcon { Information, Warning, Error };

class LinkView {
public:
    virtual ~LinkView() = default;

    // Busy cursor (arrow with hourglass) on and off; the link balances the two on every return.
    virtual void SetWaitCursor(bool /*on*/) {}
    // A modal message box with exactly this caption, text and icon. `ownedByView` is false for
    // the boxes that have no owner window.
    virtual void ShowMessage(MessageIcon /*icon*/, const char* /*caption*/, const char* /*text*/,
                             bool /*ownedByView*/ = true) {}
};

// Registers the view (nullptr: back to the headless default). The view must outlive its
// registration.
void SetLinkView(LinkView* view);
// The registered view, or the headless default; never null.
LinkView& LinkViewRef();
