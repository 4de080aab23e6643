#include "field_changes.h"

#include <utility>

namespace {
ChangeListener gListener;
} // namespace

ChangeListener SetChangeListener(ChangeListener listener) {
    return std::exchange(gListener, std::move(listener));
}

void NotifyChanged(FieldSet fields) {
    // A copy: the listener may replace itself while it runs.
    const ChangeListener listener = gListener;
    if (listener && !fields.Empty()) {
        listener(fields);
    }
}
