#pragma once
// The analyzer link as the display sees it. The view implements it; tests use a recorder.

namespace display {

// Analyzer commands and queries the display sends. Each is built from the settings record;
// a query's reply is decoded back into the record.
enum class DisplayCommand {
    PeakSearch,          // "PKSEARCH%02d" with peakSearchNo + 1
    PeakMode,            // "PEAK%s"
    NormMarker,          // "NORMMKR%.4f" with normMarkerFreq
    NormMarkerQuery,     // "NORMMKR?"
    MarkerToCenter,      // "FREQSETMKR"
    PeakZoneCenter,      // "PKCNTR%.4f"
    PeakZoneCenterQuery, // "PKCNTR?"
    PeakZoneWidth,       // "PKWIDTH%.4f"
    PeakZoneWidthQuery,  // "PKWIDTH?"
    Measure,             // "MEAS%s"
    MeasureOff,          // "MEASOFF", whatever function is in force
    MeasureResult,       // "MEASRES": the reply is the result text
    CpMode,              // "CPMODE%s"
    CpCenter,            // "CPCNTR%.4f"
    CpCenterQuery,       // "CPCNTR?"
    CpWidth,             // "CPWIDTH%.4f"
    CpWidthQuery,        // "CPWIDTH?"
    AcpMode,             // "ACPMODE%s"
    AcpOffset,           // "ACPOFS%.4f"
    AcpOffsetQuery,      // "ACPOFS?"
    AcpChannelBw,        // "ACPCHBW%.4f"
    AcpChannelBwQuery,   // "ACPCHBW?"
    AcpRefCenter,        // "ACPREF%.4f"
    AcpRefCenterQuery,   // "ACPREF?"
    AcpRefBw,            // "ACPREFBW%.4f"
    AcpRefBwQuery,       // "ACPREFBW?"
    ObwMode,             // "OBWMODE%s"
    ObwRatio,            // "OBWRATIO%.4f"
    ObwRatioQuery,       // "OBWRATIO?"
    ObwDb,               // "OBWDB%.4f"
    ObwDbQuery,          // "OBWDB?"
    EfAntenna,           // "EFANT%s"
    MfProbe,             // "MFPROBE%s"
};

// What the display needs from above: the analyzer link. What the display changes in the record
// it announces with NotifyChanged (field_changes.h).
class DisplayHost {
public:
    virtual ~DisplayHost() = default;

    virtual void PauseAcquisition() = 0;
    virtual void ResumeAcquisition() = 0;
    // 1 when the analyzer accepted the command, else 0.
    virtual int Send(DisplayCommand command) = 0;
    // The last reply line received (the result text after MeasureResult).
    virtual const char* LastReply() const = 0;
};

// The host, or without one (null) a link on which nothing is sent and no reply arrives.
class HostLink {
public:
    explicit HostLink(DisplayHost* host) : host_(host) {}
    void Pause() const {
        if (host_)
            host_->PauseAcquisition();
    }
    void Resume() const {
        if (host_)
            host_->ResumeAcquisition();
    }
    int Send(DisplayCommand command) const { return host_ ? host_->Send(command) : 0; }
    const char* LastReply() const {
        const char* reply = host_ ? host_->LastReply() : nullptr;
        return reply ? reply : "";
    }

private:
    DisplayHost* host_;
};

} // namespace display
