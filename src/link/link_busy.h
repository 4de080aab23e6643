#pragma once
// Marks a link operation under way, so that the early capture poll never starts an exchange in
// the middle of another one (a nested event loop inside a view call can run it).

class LinkBusyScope {
public:
    LinkBusyScope();
    ~LinkBusyScope();
    LinkBusyScope(const LinkBusyScope&) = delete;
    LinkBusyScope& operator=(const LinkBusyScope&) = delete;
};
