#include "view_display_host.h"

#include "acquisition.h"
#include "command_set.h"
#include "instrument_settings.h"
#include "link_state.h"
#include "serial_port.h"

int ViewDisplayHost::CodeOf(display::DisplayCommand command) {
    using display::DisplayCommand;
    switch (command) {
    case DisplayCommand::PeakSearch:
        return cmd::kPeakSearch;
    case DisplayCommand::PeakMode:
        return cmd::kPeakMode;
    case DisplayCommand::NormMarker:
        return cmd::kNormMarker;
    case DisplayCommand::NormMarkerQuery:
        return query::kNormMarker;
    case DisplayCommand::MarkerToCenter:
        return cmd::kMarkerToCenter;
    case DisplayCommand::PeakZoneCenter:
        return cmd::kPeakCenter;
    case DisplayCommand::PeakZoneCenterQuery:
        return query::kPeakCenter;
    case DisplayCommand::PeakZoneWidth:
        return cmd::kPeakWidth;
    case DisplayCommand::PeakZoneWidthQuery:
        return query::kPeakWidth;
    case DisplayCommand::Measure:
        return cmd::kMeas;
    case DisplayCommand::MeasureResult:
        return cmd::kMeasRes;
    case DisplayCommand::CpMode:
        return cmd::kCpMode;
    case DisplayCommand::CpCenter:
        return cmd::kCpCenter;
    case DisplayCommand::CpCenterQuery:
        return query::kCpCenter;
    case DisplayCommand::CpWidth:
        return cmd::kCpWidth;
    case DisplayCommand::CpWidthQuery:
        return query::kCpWidth;
    case DisplayCommand::AcpMode:
        return cmd::kAcpMode;
    case DisplayCommand::AcpOffset:
        return cmd::kAcpOffset;
    case DisplayCommand::AcpOffsetQuery:
        return query::kAcpOffset;
    case DisplayCommand::AcpChannelBw:
        return cmd::kAcpChannelBw;
    case DisplayCommand::AcpChannelBwQuery:
        return query::kAcpChannelBw;
    case DisplayCommand::AcpRefCenter:
        return cmd::kAcpRefCenter;
    case DisplayCommand::AcpRefCenterQuery:
        return query::kAcpRefCenter;
    case DisplayCommand::AcpRefBw:
        return cmd::kAcpRefBw;
    case DisplayCommand::AcpRefBwQuery:
        return query::kAcpRefBw;
    case DisplayCommand::ObwMode:
        return cmd::kObwMode;
    case DisplayCommand::ObwRatio:
        return cmd::kObwRatio;
    case DisplayCommand::ObwRatioQuery:
        return query::kObwRatio;
    case DisplayCommand::ObwDb:
        return cmd::kObwDb;
    case DisplayCommand::ObwDbQuery:
        return query::kObwDb;
    case DisplayCommand::EfAntenna:
        return cmd::kEfAntenna;
    case DisplayCommand::MfProbe:
        return cmd::kMfProbe;
    case DisplayCommand::MeasureOff: // sent with its own value
        break;
    }
    return 0;
}

void ViewDisplayHost::PauseAcquisition() {
    ::PauseAcquisition();
}

void ViewDisplayHost::ResumeAcquisition() {
    ::ResumeAcquisition();
}

int ViewDisplayHost::Send(display::DisplayCommand command) {
    if (command == display::DisplayCommand::MeasureOff)
        return SendSetting(cmd::kMeas, 0);
    const int code = CodeOf(command);
    return code != 0 ? SendSettledCommand(code) : 0;
}

const char* ViewDisplayHost::LastReply() const {
    return gLink.rxBuffer;
}
