#pragma once
// The options of the View menu, kept in "Orvel-view.ini" beside the program (QSettings' INI
// form) so that "Orvel.ini" keeps exactly its own lines. A missing, unreadable or damaged file,
// and any value out of range, gives the defaults.

#include "limit_lines.h"

#include <QString>

inline constexpr const char* kViewOptionsFileName = "Orvel-view.ini";

struct ViewOptions {
    bool waterfall = false;
    bool peakTable = false;
    int peakCount = 10;
    bool limits = false;
    display::LimitLine upper;
    display::LimitLine lower;
};

ViewOptions ReadViewOptions(const QString& path);
// False when the file could not be written.
bool WriteViewOptions(const QString& path, const ViewOptions& options);
