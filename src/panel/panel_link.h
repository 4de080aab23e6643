#pragma once
// The panel's way to the analyzer: the command transaction, the raw exchange used by the auto
// boxes, the acquisition loop's pause, resume, restart and single step, and All Reading.
// LinkForPanel forwards to the instrument link.

class PanelLink {
public:
    virtual ~PanelLink() = default;

    // Builds the command or query of `code` from the record, sends it and judges the reply:
    // 1 on success, 0 on failure.
    virtual int SendCommand(int code) = 0;
    // Switches the automatic coupling of `code` (RBW, VBW or sweep time) back on: 1 when the
    // analyzer accepted it.
    virtual int SendAutoCoupling(int code) = 0;

    virtual void PauseAcquisition() = 0;
    virtual void ResumeAcquisition() = 0;
    virtual void RestartPolling() = 0;
    virtual void AcquireStep() = 0;     // fetch and show one screen
    virtual void ReadAllSettings() = 0; // every setting queried, the panel redisplayed
};
