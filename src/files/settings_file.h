#pragma once
// The settings file "Orvel.ini" beside the program: read once at start-up, right after the
// defaults, and written once at exit. It ships with the program (an empty file will do) and is
// never created here: a missing or read-only file means "Starting error" and nothing is written.

#include "modes.h"

#include <cstddef>
#include <string>

inline constexpr const char* kSettingsFileName = "Orvel.ini";

// A file longer than this is read only this far. The program's own files stay far below it
// (about 4 KB at most), so a file it wrote is always read whole.
inline constexpr std::size_t kSettingsReadLimit = 64 * 1024;

enum class SettingsFileStatus {
    Done,        // read (an empty file too) or written
    NotFound,    // no such file in the directory, or not a plain file, or the path does not fit
    NotWritable, // present but read-only, or it cannot be opened for reading and writing
    WriteFailed, // opened, but the new text could not be written completely
};

// The directory of the running program (QCoreApplication::applicationDirPath()).
std::string ProgramDirectory();

// Stores `directory` as moduleDirectory and reads "Orvel.ini" there into gSettings, which holds
// its defaults. Unless the result is Done, requiredFileFound is cleared and nothing else changes.
SettingsFileStatus ReadSettingsFile(const char* directory);

// Writes every option into "Orvel.ini" in moduleDirectory, replacing what it held. Only an
// existing, writable file is written. detailedTrace is written as it stands: the caller sets it
// from the menu's check mark first.
SettingsFileStatus WriteSettingsFile();

// The view's operation: 0 reads the file in the program directory (and makes that directory the
// current one); any other value writes it, and does so only when requiredFileFound is set.
void ReadWriteSettings(int write);
inline void ReadWriteSettings(SettingsDirection direction) {
    ReadWriteSettings(direction == SettingsDirection::Write ? 1 : 0);
}
