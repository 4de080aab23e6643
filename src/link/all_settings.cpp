#include "all_settings.h"

#include "acquisition.h"
#include "command_set.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "level_units.h"
#include "link_view.h"
#include "modes.h"
#include "serial_port.h"

namespace {

// All Reading's queries in the analyzer's order, and the fields each reads.
struct ReadStep {
    int code;
    Field field;
};
constexpr ReadStep kReadOrder[] = {
    {query::kFreq, Field::CenterFreq},       {query::kSpan, Field::Span},
    {query::kRef, Field::Settings},          {query::kOffset, Field::Settings},
    {query::kUnit, Field::Settings},         {query::kConversion, Field::Settings},
    {query::kRbw, Field::Settings},          {query::kVbw, Field::Settings},
    {query::kMeas, Field::Measure},          {query::kCpMode, Field::Settings},
    {query::kCpCenter, Field::Settings},     {query::kCpWidth, Field::Settings},
    {query::kAcpMode, Field::Settings},      {query::kAcpOffset, Field::Settings},
    {query::kAcpChannelBw, Field::Settings}, {query::kAcpRefCenter, Field::Settings},
    {query::kAcpRefBw, Field::Settings},     {query::kObwMode, Field::Settings},
    {query::kObwRatio, Field::Settings},     {query::kObwDb, Field::Settings},
    {query::kEfAntenna, Field::FieldRef},    {query::kMfProbe, Field::FieldRef},
    {query::kCalc, Field::Settings},         {query::kScale, Field::Scale},
    {query::kSweep, Field::Sweep},           {query::kDetector, Field::Settings},
    {query::kMarkerMode, Field::MarkerMode}, {query::kPeakMode, Field::PeakZone},
    {query::kPeakCenter, Field::PeakZone},   {query::kPeakWidth, Field::PeakZone},
    {cmd::kVersion, Field::Settings},        {query::kImpedance, Field::Settings},
    {query::kRemote, Field::Remote},
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
    s.instrumentPresent = CheckPresence();
    if (s.instrumentPresent == 0) {
        // Nothing read: the panel shows what the record holds.
        NotifyChanged(Field::Settings | Field::FromAnalyzer);
        return;
    }
    for (const ReadStep& step : kReadOrder) {
        SendCommand(step.code);
        NotifyChanged(step.field | Field::FromAnalyzer);
    }
    const Calculation calc = modes::Calc(s);
    const int countQuery = calc == Calculation::MaxHold   ? query::kMaxCount
                           : calc == Calculation::MinHold ? query::kMinCount
                           : calc == Calculation::Average ? query::kAveCount
                                                          : 0;
    if (countQuery != 0) {
        SendCommand(countQuery);
        NotifyChanged(Field::Settings | Field::FromAnalyzer);
    }
    for (int code : {cmd::kRbw, cmd::kVbw, cmd::kSweep}) {
        SendCommand(code);
    }
    NotifyChanged(Field::AutoOff);
    RefreshMeasurementAfterAllSettings();
}

void SendAllSettings() {
    InstrumentSettings& s = gSettings;
    for (int code : kSendOrder) {
        SendCommand(code);
    }
    // A measuring function in force is switched off before one is chosen.
    if (modes::Measure(s) != MeasureFunction::Off) {
        SendSetting(cmd::kMeas, 0);
    }
    SendCommand(cmd::kMeas);
    switch (modes::Measure(s)) {
    case MeasureFunction::ChannelPower:
        SendCommand(cmd::kCpMode);
        SendCommand(cmd::kCpCenter);
        SendCommand(cmd::kCpWidth);
        break;
    case MeasureFunction::AdjacentChannel:
        SendCommand(cmd::kAcpMode);
        SendCommand(cmd::kAcpOffset);
        SendCommand(cmd::kAcpChannelBw);
        SendCommand(cmd::kAcpRefCenter);
        SendCommand(cmd::kAcpRefBw);
        break;
    case MeasureFunction::OccupiedBandwidth:
        SendCommand(cmd::kObwMode);
        SendCommand(cmd::kObwRatio);
        SendCommand(cmd::kObwDb);
        break;
    case MeasureFunction::ElectricField:
        SendCommand(cmd::kEfAntenna);
        break;
    case MeasureFunction::MagneticField:
        SendCommand(cmd::kMfProbe);
        break;
    default:
        break;
    }
    RefreshMeasurementAfterAllSettings();
}

void RefreshMeasurementAfterAllSettings() {
    // The occupied bandwidth cursors are placed from a fresh result.
    if (modes::Measure() == MeasureFunction::OccupiedBandwidth) {
        SendCommand(cmd::kMeasRes);
    }
    NotifyChanged(Field::Measure | Field::PeakZone);
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
