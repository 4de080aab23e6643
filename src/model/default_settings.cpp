#include "instrument_settings.h"

#include <cstring>

namespace {

void copyText(char* field, std::size_t size, const char* text) {
    std::strncpy(field, text, size - 1);
    field[size - 1] = '\0';
}

constexpr uint32_t kDefaultTraceColor[kTraceSlots] = {0x000000, 0x00FF00, 0x0000FF, 0xFF0000,
                                                      0xB0B0B0, 0xFFFF00, 0x00FFFF, 0xFF00FF,
                                                      0x008080, 0x808000, 0x800080};

} // namespace

void SetDefaultSettings() {
    InstrumentSettings& s = gSettings;

    // 1. Analyzer settings. The marker and peak zone frequencies are not assigned.
    s.centerFreq = 1.0e9;
    s.spanIndex = 7;
    s.refLevel = 10;
    s.unitIndex = 0;
    s.levelOffset = 0.0;
    s.impedanceIndex = 0;
    s.sweepIndex = 2;
    s.detectorIndex = 0;
    s.rbwIndex = 3;
    s.vbwIndex = 4;
    s.scaleIndex = 1;
    s.markerMode = 0;
    s.peakMode = 0;
    s.peakSearchNo = 0;
    s.conversionIndex = 0;
    s.measureIndex = 0;
    s.cpMode = 0;
    s.cpCenter = 1.0e9;
    s.cpWidth = 1.0e6;
    s.acpMode = 0;
    s.acpOffset = 5.0e6;
    s.acpChannelBw = 1.0e6;
    s.acpRefCenter = 1.0e9;
    s.acpRefBw = 1.0e6;
    s.obwMode = 0;
    s.obwRatio = 99.0;
    s.obwDb = 25.0;
    s.antennaIndex = 0;
    s.probeIndex = 0;
    s.calcIndex = 0;
    s.maxCount = 0;
    s.minCount = 0;
    s.aveCount = 256;
    s.calcSpread = 0;
    std::memset(s.efUserText, 0, sizeof s.efUserText);
    std::memset(s.mfUserText, 0, sizeof s.mfUserText);
    s.runState = 0;
    s.remoteState = 0;
    s.instrumentPresent = 0;
    s.modelIndex = 0;

    // 2. Identity texts.
    copyText(s.versionText, sizeof s.versionText, "VER*.**");
    copyText(s.titleText, sizeof s.titleText, "Orvel Version 1.11");

    // 3. Every slot empty.
    for (int& kind : s.traceKind) {
        kind = 2;
    }

    // 4. User correction tables empty.
    for (int i = 0; i < kUserTableRows; ++i) {
        s.efUserFreq[i] = -200;
        s.efUserGain[i] = -200;
        s.mfUserFreq[i] = -200;
        s.mfUserGain[i] = -200;
    }

    // 5. Colours.
    for (int i = 0; i < kTraceSlots; ++i) {
        s.traceColor[i] = kDefaultTraceColor[i];
    }
    s.markerColor[1] = 0x00FFFF;
    s.markerColor[2] = 0xFFFF00;
    s.markerColor[3] = 0xFF0000;
    s.markerColor[4] = 0x00FFFF;
    s.markerColor[5] = 0xFF00FF;
    s.markerColor[6] = 0x00FFFF;
    s.scaleLineColor = 0x008080;
    s.backgroundColor = 0x000000;

    // 6. Link, loop and start-up settings.
    s.baudIndex = 3;
    s.comPortIndex = 0;
    s.timeOutSetting = 100;
    s.intervalSetting = 100;
    s.unchangedTraceCount = 0;
    s.startSetting = 0;
    s.startWindowState = 0;
    s.compactMode = 0;
    s.requiredFileFound = 1;

    // 7. Display and dialog state.
    s.selectedMarker = 1;
    s.memoryRangeStart = 0;
    s.memoryRangeEnd = 99;
    s.xZoom = 0;
    s.yZoom = 0;
    s.xScroll = 0;
    s.xScrollSaved = 0;
    s.yScroll = 0;
    std::memset(s.traceStore, 0, sizeof s.traceStore);
    std::memset(s.traceRecord.tracePoints, 0, sizeof s.traceRecord.tracePoints);
    s.activeTraceSlot = 1;

    // 8. Trace 1 shown, traces 2..10 hidden; the view applies this to the plots.
    s.traceView[0] = 0;
    s.traceView[1] = 1;
    for (int i = 2; i < kTraceSlots; ++i) {
        s.traceView[i] = 0;
    }
}
