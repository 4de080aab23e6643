#pragma once
// Replies to the queries 200..238, decoded into gSettings.

// The query keyword of `code` ("FREQ?" for 200), or nullptr outside 200..238.
const char* QueryKeyword(int code);

// Decodes `reply` (without its CR LF) for query `code` into its field. A reply that matches no
// keyword, or holds no digit where a number is expected, leaves the field as it was. Returns 0
// only for "HOLD?" not answered "OK" (and for codes outside the table), else 1.
int DecodeQueryReply(int code, const char* reply);
