#pragma once
// The command transaction: every setting and query reaches the analyzer through SendCommand.

#include "command_codes.h"

// Builds the text of `code` into txBuffer, writes it, reads the reply and checks it; decodes
// queries, the version and the screen records into gSettings. Returns 1 on success, 0 on failure
// (unknown code or a keyword index outside its table: no traffic; nothing written: reconnect;
// "Read error"; a reply beginning with "ERR"; a setting not answered "OK"). After a write,
// rxBuffer holds the reply without its CR LF, or "Read error". Shows the busy cursor meanwhile.
int SendCommand(int code);
// SendCommand for setting `code` with `value` (a number, an integer or a keyword index) in place of
// the record's, which stays as it is.
int SendSetting(int code, double value);

// SendCommand for a command the analyzer takes only a while after the change before it: the
// antenna and the probe after a field-strength function is chosen (it is still switching: a wait,
// then tries while it refuses), marker to centre just after the marker was sent.
int SendSettledCommand(int code);

// Switches the automatic coupling of RBW, VBW or sweep time (cmd::kRbw, kVbw, kSweep) back on:
// "RBWAUTO" and the like written, one reply read. 1 only when the reply is exactly "OK"; 0 with no
// traffic for other codes.
int SendAutoCoupling(int code);

// SendCommand in two halves, for a transaction whose reply is read elsewhere (the live loop).
// WriteCommand builds and writes the text: 1 when written, 0 when there was nothing to send or
// nothing was written (then it has reconnected and rxBuffer holds "Write error").
int WriteCommand(int code);
// Once the reply is in rxBuffer: checks and decodes it as SendCommand does; its result.
int TakeReply(int code);

// The command text of `code` (with its CR LF) into `out` of `size` bytes, from gSettings.
// Returns 0, with `out` emptied, for a code without a text or an index outside its table.
int BuildCommandText(int code, char* out, int size);
// The text of setting `code` with `value` in place of the record's; 0, `out` emptied, as above.
int BuildSettingText(int code, double value, char* out, int size);
