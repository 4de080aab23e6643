// Settings file text, read into the defaults. One write makes a fixed point; and a record that
// kept the file's user texts but changed every other value reads back as written, so no text can
// stand in for another key.
#include "fuzz_support.h"
#include "settings_text.h"

static std::string ReadAndWrite(const std::string& text) {
    FuzzResetRecord();
    settingstext::ApplySettingsText(text.data(), text.size());
    FuzzCheckRecord();
    return settingstext::FormatSettingsText();
}

void FuzzInput(const uint8_t* data, std::size_t size) {
    settingstext::ApplySettingsText(reinterpret_cast<const char*>(data), size);
    const InstrumentSettings read = gSettings;
    FuzzCheckAndExercise();

    gSettings = read;
    const std::string first = settingstext::FormatSettingsText();
    FuzzRequire(first == ReadAndWrite(first), "the second write differs from the first");

    gSettings = read;
    SetUnusualSettings();
    const std::string changed = settingstext::FormatSettingsText();
    FuzzRequire(changed == ReadAndWrite(changed), "a changed record does not read back");
    (void)settingstext::ParseColorText(reinterpret_cast<const char*>(data), size);
}
