#pragma once
// The live loop's own transactions on the port (the "COMP" of a capture, the screen record, the
// measurement result), collected from the event loop as their bytes arrive, so that the window
// keeps answering while a trace comes in. This is the one owner of the transaction in flight:
//
//   Idle -> (CAPT written) CapturePending -> (bytes waiting) ReadingCompletion
//        -> ("COMP") ReadingScreen -> ReadingResult -> Idle / CapturePending (next CAPT)
//   Idle -> (timer 1) ReadingScreen -> ReadingResult -> Idle (timer 1 re-armed)
//
// Every other user of the port settles the loop first (PauseAcquisition, SendCommand and the
// other link entries do it): what is in flight is finished with blocking reads under the same
// rules, so the bytes on the wire are those of a loop that never returned to the event loop.
// Without a Qt application everything runs blocking, as before.

enum class LiveState {
    Idle,              // nothing on the line for the loop
    CapturePending,    // "CAPT" sent; waiting for its "COMP" (the port is watched for it)
    ReadingCompletion, // reading what came while a capture was pending (up to 6 bytes)
    ReadingScreen,     // "SRSCURR" / "SRSF" sent; collecting the screen record
    ReadingResult,     // "MEASRES" sent; collecting the result text
};

// What the loop does once an acquisition step has ended.
enum class AfterStep {
    Nothing, // a step run on demand (Hold, auto tune)
    Capture, // capture mode: ResumeAcquisition, the next "CAPT"
    Restart, // periodic mode: RestartPolling, re-arming timer 1
};

LiveState CurrentLiveState();
// True while one of the reading states is in flight.
bool LiveReadInFlight();
// True when the screen record of the last step came whole (what the view is shown with it is a
// new trace); false after a step whose record failed.
bool LiveScreenRecordTaken();

// The capture handshake's state, kept here with the transaction it belongs to.
void SetCapturePending(bool pending);
bool LiveCapturePending();

// Begins the capture-completion read (what timer 5 reads). Returns false, with nothing done, when
// the loop is not idle.
bool StartCompletionRead();
// Begins one acquisition step; `after` follows when it ends. With `blocking` (or without an event
// loop) the whole step runs before this returns. False when the loop is not idle.
bool StartLiveStep(AfterStep after, bool blocking);

// Finishes whatever the loop has in flight, blocking, with the rest of its step and what follows
// it; returns with the loop idle or waiting for a capture. Called by every other user of the port
// before it starts. Does nothing when nothing is in flight.
void SettleLiveLoop();
// Drops what is in flight without another byte on the wire and stops watching the port (the
// view is going away, or the line under the transaction was closed).
void AbandonLiveLoop();

// Called by the link's busy scope when the busy depth turns 0 or leaves it.
void UpdateLiveWatch();
