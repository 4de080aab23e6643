#include "link_view.h"

namespace {
LinkView gHeadlessView;
LinkView* gView = nullptr;
} // namespace

void SetLinkView(LinkView* view) {
    gView = view;
}

LinkView& LinkViewRef() {
    return gView != nullptr ? *gView : gHeadlessView;
}
