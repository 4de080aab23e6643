#pragma once
// The link's debug log: what failed on the port and why (the system's own reason). Off by
// default; QT_LOGGING_RULES="orvel.link.debug=true" turns it on. The user sees the link's usual
// messages either way.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

// Logs `what` failed with the reason of `error` (an errno value).
void LogPortFailure(const char* what, int error);
