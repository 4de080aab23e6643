#pragma once
// The analyzer's numbered memories on the wire: recalling one ("SRS%02d"), the reply's wait for
// "PARAM", and erasing a range of parameter sets and traces ("MCLRS%d", "MCLRW%d" with the number
// plus one, or the two "ALL" commands for the whole range).

#include <functional>

namespace memory {

inline constexpr int kFirstNumber = 0;
inline constexpr int kLastNumber = 99;
// Consecutive reads without "PARAM" after which a recall gives up.
inline constexpr int kMaxFailedTries = 7;
// Waits between the reads of one reply: recall, bulk save.
inline constexpr int kRecallWaitMs = 500;
inline constexpr int kBulkWaitMs = 1000;
// Retries of a whole-range erase command; error budget of the per-number erase.
inline constexpr int kAllRetries = 20;
inline constexpr int kEraseErrorBudget = 10;

// Selection kind bits after the number-select dialog.
inline constexpr int kTraceBit = 1;
inline constexpr int kParamBit = 2;

enum class RecallResult {
    Recalled,  // traceRecord, tracePoints and the active slot's row hold the memory
    NoAnswer,  // seven reads without "PARAM": rxBuffer holds the reason ("Write error" or not)
    Truncated, // "PARAM" came but the reply ended before its 251 points; nothing stored
};

// How a reply is read: the recall waits 500 ms before each further read; the bulk save waits
// 1000 ms before every second one.
enum class ReadForm { Recall, Bulk };

// Writes "SRS%02d\r\n" for n (memoryNumber is set to n first), reads the reply in the given form
// and parses it as a 250-point screen record. The caller pauses acquisition around it.
RecallResult RecallMemory(int n, ReadForm form = ReadForm::Recall);

// The rest of a recall once "PARAM" has come: the reply in rxBuffer (rxLength bytes, line end
// included) is parsed as a 250-point screen record when it holds its 251 points after "TRACE";
// otherwise Truncated and nothing is stored. No port I/O.
RecallResult ParseRecallReply();

// "A COM port has not been opened." when the last write failed, else "Please check connection
// with %s." with the model name; both captioned "Communication error".
void ShowRecallError();

// Progress of an erase: bar position and, for the per-number erase, the "Please wait... %2d%%"
// text (empty for the whole range). Called before each number.
using EraseProgress = std::function<void(int position, const char* text)>;

// Erases start..end (0..99) by `kind` bits (1 traces, 2 parameter sets). The whole range 0..99
// uses "MCLRSALL" then "MCLRWALL", each retried up to 20 times until "OK"; otherwise every number
// is erased in turn, a refused one retried, until the error count passes 10. Returns the number
// of refusals. The caller pauses acquisition around it.
int EraseMemories(int start, int end, int kind, const EraseProgress& progress = {});

} // namespace memory
