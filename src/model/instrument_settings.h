#pragma once
// The one process-wide record of what the program believes the analyzer's settings to be, the
// program's own link, loop and display state, and the last trace data received. Every subsystem
// reads and writes its fields by name; nobody keeps a private copy of an analyzer setting.

#include <cstdint>

// Trace kind codes: point count and how the level bytes are read.
namespace tracekind {
inline constexpr int kSpectrum251 = 0;
inline constexpr int kSpectrum1001 = 1;
inline constexpr int kEmpty = 2;
// Electric field, 1001 points, antenna index 0..6: 10, 11, 12, 13, 15, 14, 38.
// Magnetic field, 1001 points, probe index 0..1: 16, 17.
// The 251-point forms: 20, 21, 22, 23, 25, 24, 39 and 26, 27.
inline constexpr int kScreenFieldE = 28;
inline constexpr int kScreenFieldM = 29;
inline constexpr int kScreenDbm = 30; // 30, 32, 34, 36: dBm, dBuV, dBmV, dBV (251 points)
} // namespace tracekind

// One screen: its settings and its level bytes. Byte for byte the binary trace file
// (1104 bytes, little-endian, no padding).
struct TraceRecord {
    int16_t memoryNumber; // 0 for the current screen, else the analyzer memory it came from
    int8_t modelCode;     // 2 = RVX410, 3 = RVX420, 0 = other; below 2 marks the older layout
    uint8_t reserved0;
    uint32_t recordUnitBits; // bits 0..3 unit code, bits 4..8 model index, others kept
    double recordCenterFreq; // Hz
    int32_t recordSpanIndex;
    int32_t recordRefLevel;
    int32_t recordRbwIndex;
    int32_t recordVbwIndex;
    int32_t recordSweepIndex;
    int32_t recordDetectorIndex;
    int32_t recordScaleIndex;
    int32_t recordKind;        // trace kind code
    uint8_t tracePoints[1024]; // the level bytes of the last trace received or recalled
    uint8_t reserved1[32];
};
static_assert(sizeof(TraceRecord) == 1104, "the trace record is the 1104-byte trace file");

inline constexpr int kUserTextSize = 512; // 511 characters and the terminating zero
inline constexpr int kUserTableRows = 10;
inline constexpr int kTraceSlots = 11; // slot 0 is the live copy, 1..10 the stored traces

struct InstrumentSettings {
    // --- Analyzer settings (wire form in the command set) ---
    double centerFreq;
    int spanIndex;
    int refLevel; // whole dBm
    int unitIndex;
    double levelOffset;
    int impedanceIndex;
    int sweepIndex;
    int detectorIndex;
    int rbwIndex;
    int vbwIndex;
    int scaleIndex;
    int markerMode;
    int peakMode;
    int peakSearchNo;
    double normMarkerFreq;
    double peakZoneCenter;
    double peakZoneWidth;
    int conversionIndex;
    int measureIndex;
    int cpMode;
    double cpCenter;
    double cpWidth;
    int acpMode;
    double acpOffset;
    double acpChannelBw;
    double acpRefCenter;
    double acpRefBw;
    int obwMode;
    double obwRatio;
    double obwDb;
    int antennaIndex;
    int probeIndex;
    int calcIndex;
    int maxCount;
    int minCount;
    int aveCount;
    int calcSpread;
    char efUserText[kUserTextSize];
    char mfUserText[kUserTextSize];

    // --- Analyzer identity and state flags ---
    int modelIndex; // 0 = RVX410, 1 = RVX420
    char versionText[64];
    char titleText[64];
    int runState;
    int remoteState;
    int detailedTrace; // not touched by SetDefaultSettings
    int instrumentPresent;

    // --- Link, loop and start-up settings ---
    int comPortIndex;
    int baudIndex;
    int timeOutSetting;
    int intervalSetting;
    int unchangedTraceCount;
    int compactMode;
    int startSetting;
    int startWindowState;
    int requiredFileFound;

    // --- Trace data ---
    int activeTraceSlot;
    int traceKind[kTraceSlots];
    uint8_t traceStore[12][1024];
    TraceRecord traceRecord;    // its tracePoints are the last trace received
    int traceView[kTraceSlots]; // entry i (1..10) set: trace i is shown; entry 0 unused

    // --- Level conversions ---
    int fieldRefLevel;
    int efUserFreq[kUserTableRows]; // 100 kHz units, -200 = empty
    int efUserGain[kUserTableRows]; // 0.01 dB
    int mfUserFreq[kUserTableRows];
    int mfUserGain[kUserTableRows];

    // --- Colours: 32-bit RGB with red in the low byte ---
    uint32_t traceColor[kTraceSlots];
    uint32_t markerColor[7]; // 1, 2 markers; 3 ref centre; 4 ref bandwidth; 5 ref offset; 6 zone
    uint32_t scaleLineColor;
    uint32_t backgroundColor;

    // --- Display and dialog state ---
    int selectedMarker; // 1 or 2
    int zonePosition;   // peak zone centre, display positions
    int zoneWidth;      // peak zone half-width, display positions
    int measureBandPositions[6];
    int xZoom;
    int xScroll;
    int xScrollSaved;
    int yZoom;
    int yScroll;
    int startingUp;
    int borderWidth;
    int lastLayoutWidth;
    int lastLayoutHeight;
    int memoryRangeStart;
    int memoryRangeEnd;
    int memorySelectKind;

    // --- Program directory (settings file, help text) ---
    char moduleDirectory[512];
};

// The process-wide record. Zero-initialised at program start; SetDefaultSettings fills it.
extern InstrumentSettings gSettings;

// Puts the record into its initial state. The marker and peak zone frequencies and the detailed
// trace choice keep what they hold.
void SetDefaultSettings();
