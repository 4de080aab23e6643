#include "memory_operations.h"

#include "acquisition.h"
#include "instrument_settings.h"
#include "link_busy.h"
#include "link_state.h"
#include "reply_text.h"
#include "screen_record.h"
#include "serial_device.h"
#include "serial_port.h"

#include <cstdio>
#include <cstring>

namespace memory {

namespace {

constexpr int kChunk = 256;
constexpr int kRecordPoints = 251;
// Reads that bring nothing before a reply still short of its points counts as ended.
constexpr int kMaxQuietReads = 7;

// Appends one read of up to 256 bytes to rxBuffer at rxLength. NUL bytes (line noise) become
// '?', so the text stays one string for the searches and the parser. Returns the count.
int ReadAppend() {
    const int room = kRxBufferSize - 1 - gLink.rxLength;
    if (room <= 0) {
        return 0;
    }
    const int want = room < kChunk ? room : kChunk;
    const int got = LinkSerialDevice().Read(gLink.rxBuffer + gLink.rxLength, want);
    if (got <= 0) {
        return 0;
    }
    for (int i = gLink.rxLength; i < gLink.rxLength + got; ++i) {
        if (gLink.rxBuffer[i] == '\0') {
            gLink.rxBuffer[i] = '?';
        }
    }
    gLink.rxLength += got;
    gLink.rxBuffer[gLink.rxLength] = '\0';
    return got;
}

bool BufferFull() {
    return gLink.rxLength >= kRxBufferSize - 1;
}

// Drains what is still arriving after a reply that filled the buffer (at most 64 reads).
void DrainRest() {
    char scratch[kChunk];
    for (int i = 0; i < 64 && LinkSerialDevice().Read(scratch, kChunk) == kChunk; ++i) {
    }
}

// Points after "TRACE" by the parser's own walk (three characters a point).
int PointsAfterTrace(const char* text) {
    const char* trace = std::strstr(text, "TRACE");
    if (trace == nullptr) {
        return 0;
    }
    int count = 0;
    for (const char* p = trace + 5; *p != '\0';) {
        if (*p < '0') {
            ++p;
            continue;
        }
        ++count;
        for (int i = 0; i < 3 && *p != '\0'; ++i) {
            ++p;
        }
    }
    return count;
}

} // namespace

RecallResult RecallMemory(int n, ReadForm form) {
    LinkBusyScope busy;
    InstrumentSettings& s = gSettings;
    s.traceRecord.memoryNumber = static_cast<int16_t>(n);
    std::snprintf(gLink.txBuffer, sizeof gLink.txBuffer, "SRS%02d\r\n", n);
    gLink.rxBuffer[0] = '\0';
    gLink.rxLength = 0;
    if (WriteTxBuffer() == 0) {
        return RecallResult::NoAnswer; // "Write error" is in rxBuffer
    }
    int failed = 0;
    // Steps 1 and 2: read until a text holding "PARAM" has come.
    for (;;) {
        ReadAppend();
        if (std::strstr(gLink.rxBuffer, "PARAM") != nullptr) {
            break;
        }
        gLink.rxLength = 0;
        gLink.rxBuffer[0] = '\0';
        if (++failed >= kMaxFailedTries) {
            return RecallResult::NoAnswer;
        }
    }
    // Wait, read more, while the reads come back full; the bulk form reads once more at once
    // before each wait.
    const bool bulk = form == ReadForm::Bulk;
    for (;;) {
        if (BufferFull()) {
            DrainRest();
            break;
        }
        WaitMilliseconds(bulk ? kBulkWaitMs : kRecallWaitMs);
        if (ReadAppend() != kChunk) {
            break;
        }
        if (bulk) {
            ReadAppend();
        }
    }
    // A reply cut short by a slow line: go on while something still arrives.
    for (int quiet = 0; PointsAfterTrace(gLink.rxBuffer) < kRecordPoints &&
                        quiet < kMaxQuietReads && !BufferFull();) {
        quiet = ReadAppend() > 0 ? 0 : quiet + 1;
    }
    return ParseRecallReply();
}

RecallResult ParseRecallReply() {
    if (PointsAfterTrace(gLink.rxBuffer) < kRecordPoints) {
        return RecallResult::Truncated;
    }
    // Without its line end; the parser reads up to the terminating zero.
    if (gLink.rxLength >= 2) {
        gLink.rxLength -= 2;
        gLink.rxBuffer[gLink.rxLength] = '\0';
    }
    ParseScreenRecord(250);
    return RecallResult::Recalled;
}

void ShowRecallError() {
    ShowCommunicationError();
}

namespace {

// Writes the command and reads one reply; true when the reply begins with "OK".
bool Exchange(const char* line) {
    std::snprintf(gLink.txBuffer, sizeof gLink.txBuffer, "%s", line);
    if (WriteTxBuffer() == 0) {
        return false;
    }
    CommPort(portop::kRead);
    return BeginsWithNoCase(gLink.rxBuffer, "OK");
}

int ExchangeWithRetries(const char* line) {
    int refused = 0;
    while (!Exchange(line)) {
        if (++refused > kAllRetries) {
            break;
        }
    }
    return refused;
}

} // namespace

int EraseMemories(int start, int end, int kind, const EraseProgress& progress) {
    LinkBusyScope busy;
    const bool param = (kind & kParamBit) != 0;
    const bool trace = (kind & kTraceBit) != 0;
    if ((!param && !trace) || start < kFirstNumber || end > kLastNumber || end < start) {
        return 0;
    }
    if (start == kFirstNumber && end == kLastNumber) {
        if (progress) {
            progress(kLastNumber, "");
        }
        int refused = 0;
        if (param) {
            refused += ExchangeWithRetries("MCLRSALL\r\n");
        }
        if (trace) {
            refused += ExchangeWithRetries("MCLRWALL\r\n");
        }
        return refused;
    }
    int errors = 0;
    char line[32];
    for (int n = start; n <= end;) {
        if (progress) {
            char text[48];
            const int percent = end == start ? 0 : (n - start) * 100 / (end - start);
            std::snprintf(text, sizeof text, "Please wait... %2d%%", percent);
            progress(n, text);
        }
        bool failed = false;
        if (param) {
            std::snprintf(line, sizeof line, "MCLRS%d\r\n", n + 1);
            failed = !Exchange(line);
        }
        if (trace && !failed) {
            std::snprintf(line, sizeof line, "MCLRW%d\r\n", n + 1);
            failed = !Exchange(line);
        }
        if (failed) {
            if (++errors > kEraseErrorBudget) {
                break;
            }
        } else {
            ++n;
        }
    }
    return errors;
}

} // namespace memory
