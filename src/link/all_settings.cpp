#include "all_settings.h"

#include "acquisition.h"
#include "command_set.h"
#include "instrument_settings.h"
#include "level_units.h"
#include "link_view.h"
#include "serial_port.h"

namespace {

// All Reading's queries in the analyzer's order, and what follows each on the panel.
enum class After { Panel, FrequencyAxis, LevelAxis, RemoteMark };
struct ReadStep {
    int code;
    After after;
};
constexpr ReadStep kReadOrder[] = {
    {query::kFreq, After::Panel},         {query::kSpan, After::FrequencyAxis},
    {query::kRef, After::Panel},          {query::kOffset, After::Panel},
    {query::kUnit, After::Panel},         {query::kConversion, After::Panel},
    {query::kRbw, After::Panel},          {query::kVbw, After::Panel},
    {query::kMeas, After::LevelAxis},     {query::kCpMode, After::Panel},
    {query::kCpCenter, After::Panel},     {query::kCpWidth, After::Panel},
    {query::kAcpMode, After::Panel},      {query::kAcpOffset, After::Panel},
    {query::kAcpChannelBw, After::Panel}, {query::kAcpRefCenter, After::Panel},
    {query::kAcpRefBw, After::Panel},     {query::kObwMode, After::Panel},
    {query::kObwRatio, After::Panel},     {query::kObwDb, After::Panel},
    {query::kEfAntenna, After::Panel},    {query::kMfProbe, After::Panel},
    {query::kCalc, After::Panel},         {query::kScale, After::Panel},
    {query::kSweep, After::Panel},        {query::kDetector, After::Panel},
    {query::kMarkerMode, After::Panel},   {query::kPeakMode, After::Panel},
    {query::kPeakCenter, After::Panel},   {query::kPeakWidth, After::Panel},
    {cmd::kVersion, After::Panel},        {query::kImpedance, After::Panel},
    {query::kRemote, After::RemoteMark},
};

// The settings every All Setting sends first, in the analyzer's order.
constexpr int kSendOrder[] = {
    cmd::kFreq,       cmd::kSpan,       cmd::kRef,      cmd::kUnit,       cmd::kRbw,
    cmd::kVbw,        cmd::kImpedance,  cmd::kOffset,   cmd::kCalc,       cmd::kMaxCount,
    cmd::kMinCount,   cmd::kAveCount,   cmd::kScale,    cmd::kSweep,      cmd::kDetector,
    cmd::kMarkerMode, cmd::kNormMarker, cmd::kPeakMode, cmd::kPeakSearch, cmd::kPeakCenter,
    cmd::kPeakWidth,  cmd::kConversion, cmd::kRemote,
};

bool RefusedInCompactMode() {
    if (gSettings.compactMode == 0) {
        return false;
    }
    LinkViewRef().ShowMessage(MessageIcon::Warning, "Orvel",
                              "When a window is small it is not able to use it.");
    return true;
}

// Pause, reconnect and look for the analyzer; false (still paused) when it does not answer.
bool ResynchronisationStart() {
    PauseAcquisition();
    Reconnect();
    gSettings.instrumentPresent = CheckPresence();
    if (gSettings.instrumentPresent == 0) {
        return false;
    }
    SetPortTimeouts(portprofile::kLong);
    return true;
}

} // namespace

void ReadAllSettings() {
    InstrumentSettings& s = gSettings;
    LinkView& view = LinkViewRef();
    s.instrumentPresent = CheckPresence();
    if (s.instrumentPresent == 0) {
        view.ShowAllSettings();
        return;
    }
    for (const ReadStep& step : kReadOrder) {
        SendCommand(step.code);
        view.ShowReadSetting(step.code);
        switch (step.after) {
        case After::FrequencyAxis:
            view.UpdateFrequencyAxis();
            break;
        case After::LevelAxis:
            view.UpdateLevelAxis();
            break;
        case After::RemoteMark:
            view.SetRemoteChecked(s.remoteState);
            break;
        case After::Panel:
            break;
        }
    }
    const int countQuery = s.calcIndex == 1   ? query::kMaxCount
                           : s.calcIndex == 2 ? query::kMinCount
                           : s.calcIndex == 3 ? query::kAveCount
                                              : 0;
    if (countQuery != 0) {
        SendCommand(countQuery);
        view.ShowReadSetting(countQuery);
    }
    for (int code : {cmd::kRbw, cmd::kVbw, cmd::kSweep}) {
        SendCommand(code);
        view.ClearAutoBox(code);
    }
    RefreshMeasurementAfterAllSettings();
}

void SendAllSettings() {
    InstrumentSettings& s = gSettings;
    for (int code : kSendOrder) {
        SendCommand(code);
    }
    // A measuring function in force is switched off before one is chosen.
    if (s.measureIndex != 0) {
        SendSetting(cmd::kMeas, 0);
    }
    SendCommand(cmd::kMeas);
    switch (s.measureIndex) {
    case 1:
        SendCommand(cmd::kCpMode);
        SendCommand(cmd::kCpCenter);
        SendCommand(cmd::kCpWidth);
        break;
    case 2:
        SendCommand(cmd::kAcpMode);
        SendCommand(cmd::kAcpOffset);
        SendCommand(cmd::kAcpChannelBw);
        SendCommand(cmd::kAcpRefCenter);
        SendCommand(cmd::kAcpRefBw);
        break;
    case 3:
        SendCommand(cmd::kObwMode);
        SendCommand(cmd::kObwRatio);
        SendCommand(cmd::kObwDb);
        break;
    case 4:
        SendCommand(cmd::kEfAntenna);
        break;
    case 5:
        SendCommand(cmd::kMfProbe);
        break;
    default:
        break;
    }
    RefreshMeasurementAfterAllSettings();
}

void RefreshMeasurementAfterAllSettings() {
    LinkView& view = LinkViewRef();
    view.UpdateMeasurementDisplay();
    switch (gSettings.measureIndex) {
    case 1:
        view.UpdateChannelPowerCursors();
        break;
    case 2:
        view.UpdateAcpCursors();
        break;
    case 3:
        SendCommand(cmd::kMeasRes);
        view.UpdateObwDisplay();
        break;
    case 4:
        computeAntennaReference(gSettings.antennaIndex);
        view.UpdateFieldStrengthDisplay();
        break;
    case 5:
        computeProbeReference(gSettings.probeIndex);
        view.UpdateFieldStrengthDisplay();
        break;
    default:
        break;
    }
    if (gSettings.peakMode == 1) {
        view.UpdateZone();
    }
}

void AllReadingCommand() {
    if (RefusedInCompactMode() || !ResynchronisationStart()) {
        return;
    }
    ReadAllSettings();
    ResumeAcquisition();
}

void AllSettingCommand() {
    if (RefusedInCompactMode() || !ResynchronisationStart()) {
        return;
    }
    SendAllSettings();
    ResumeAcquisition();
}
