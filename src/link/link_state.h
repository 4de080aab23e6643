#pragma once
// The link's own state: the port handle and the two fixed buffers every exchange goes through.
// The link owns it (the transaction in flight is the live loop's, in live_link.h). The display
// and the panel reach the analyzer only through the link's operations; the view shell and the
// transfer windows read replies here.

inline constexpr int kTxBufferSize = 1024;
inline constexpr int kRxBufferSize = 20000; // with its terminating zero

struct LinkState {
    int comHandle; // 0 never opened or port index out of range, -1 last open failed, 1 open
    char txBuffer[kTxBufferSize];
    char rxBuffer[kRxBufferSize];
    int rxLength;
};

// The process-wide link state, zero at program start.
extern LinkState gLink;
