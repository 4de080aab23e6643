// Settings file text, read into the defaults. Two round trips must hold for every file the reader
// accepts: writing what was read and reading that back gives the same text again (one write
// makes a fixed point); and a record that kept the file's user texts but changed every other
// value (as a session does) reads back as written, so no text can stand in for another key.
#include "fuzz_support.h"
#include "instrument_settings.h"
#include "settings_text.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void RequireSameText(const std::string& first, const std::string& second, const char* what) {
    if (first != second) {
        std::fprintf(stderr, "%s\nfirst write:\n%s\nsecond write:\n%s\n", what, first.c_str(),
                     second.c_str());
        std::abort();
    }
}

// Reads `text` over the defaults and writes the record again.
std::string ReadAndWrite(const std::string& text) {
    FuzzResetRecord();
    settingstext::ApplySettingsText(text.data(), text.size());
    FuzzCheckRecord();
    return settingstext::FormatSettingsText();
}

// Values no default and no seed holds.
void ChangeEveryValue() {
    InstrumentSettings& s = gSettings;
    s.comPortIndex = 5;
    s.baudIndex = 1;
    s.centerFreq = 2345678901.0;
    s.spanIndex = 11;
    s.refLevel = -37;
    s.unitIndex = 2;
    s.levelOffset = -12.3;
    s.sweepIndex = 6;
    s.rbwIndex = 6;
    s.vbwIndex = 9;
    s.zonePosition = 123;
    s.zoneWidth = 45;
    s.normMarkerFreq = 876543210.0;
    s.cpCenter = 1234567.0;
    s.acpOffset = -7654321.0;
    s.obwRatio = 87.6;
    s.obwDb = 12.5;
    s.aveCount = 64;
    s.timeOutSetting = 150;
    s.intervalSetting = 75;
    s.traceColor[1] = 0x123456;
    s.traceColor[10] = 0xabcdef;
    s.markerColor[2] = 0x654321;
    s.markerColor[6] = 0x0f0f0f;
    s.scaleLineColor = 0x111111;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzResetRecord();
    FuzzSnapshot();
    settingstext::ApplySettingsText(reinterpret_cast<const char*>(data), size);
    const InstrumentSettings read = gSettings;
    FuzzCheckAndExercise();

    gSettings = read;
    const std::string first = settingstext::FormatSettingsText();
    RequireSameText(first, ReadAndWrite(first), "the second write differs from the first");

    gSettings = read;
    ChangeEveryValue();
    const std::string changed = settingstext::FormatSettingsText();
    RequireSameText(changed, ReadAndWrite(changed), "a changed record does not read back");
    (void)settingstext::ParseColorText(reinterpret_cast<const char*>(data), size);
    return 0;
}
