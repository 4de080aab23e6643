#pragma once
// The capture handshake and the exchanges around it: pause, resume, presence check, one
// acquisition step, the capture-completion poll and the hidden command entry.

// Drains up to 8 waiting bytes and, while a capture may be pending (running, capture mode),
// quiets the analyzer with empty lines until it answers "ERR" (at most twice).
void PauseAcquisition();

// Running in capture mode: sends "CAPT\r\n" (once more when nothing was written).
void ResumeAcquisition();

// 1 when the analyzer answers an empty line with "ERR" (two tries, 100 ms apart), else 0.
int CheckPresence();

// Fetches one screen (1000 points with Detailed Trace, else 250), sets the slot's trace kind,
// redraws, asks for the measurement result and refreshes the measurement display. Blocking: the
// caller has it done on return (the live loop's timers run the same step from the event loop).
void AcquireStep();

// The capture-completion poll (timer 5): while running and not compact, returns at once when no
// byte is waiting; otherwise reads up to 6 bytes and on "COMP" runs the acquisition step and
// ResumeAcquisition. With an event loop these follow as their bytes arrive (live_link.h).
void CapturePollStep();

// 1 while a "CAPT\r\n" has been sent and its "COMP" not yet taken or quieted.
int CapturePending();

// The hidden command entry's exchange for the joined entry text: pauses; text beginning with
// "HIDE" (any case) returns 0 and sends nothing (the caller hides both edits; the loop stays
// paused). Otherwise sends the text with CR LF, reads the reply into rxBuffer (for the reply
// edit), resumes and returns 1.
int RunHiddenCommand(const char* entryText);

// "Communication error" box for an analyzer that did not answer: "A COM port has not been
// opened." when rxBuffer holds "Write error", else "Please check connection with %s." with the
// model name. Warning icon, no owner window.
void ShowCommunicationError();

// 1 while a link operation is under way on this thread (used to refuse re-entry from nested
// event loops).
int LinkBusy();
