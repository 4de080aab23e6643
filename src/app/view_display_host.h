#pragma once
// The display's way to the analyzer in the running program.

#include "display_host.h"

class ViewDisplayHost : public display::DisplayHost {
public:
    void PauseAcquisition() override;
    void ResumeAcquisition() override;
    int Send(display::DisplayCommand command) override;
    const char* LastReply() const override;

    // The command or query code that carries a display command.
    static int CodeOf(display::DisplayCommand command);
};
