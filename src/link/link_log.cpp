#include "link_log.h"

#include <cstring>

Q_LOGGING_CATEGORY(lcLink, "orvel.link", QtInfoMsg)

void LogPortFailure(const char* what, int error) {
    qCDebug(lcLink, "%s failed: %s (errno %d)", what, std::strerror(error), error);
}
