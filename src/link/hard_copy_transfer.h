#pragma once
// The hard copy exchange: "PRT\r\n" once, then, every tick, whatever has arrived goes into the
// receive area (rxBuffer, rxLength) after what came before. The receive area is never written
// past; bytes that no longer fit are read and thrown away. A tick never waits for the line.

#include <chrono>

class HardCopyTransfer {
public:
    using Clock = std::chrono::steady_clock;

    // Clears the receive area and sends "PRT\r\n". False when nothing could be written
    // ("Write error" is then in rxBuffer and the transfer does not start).
    bool Start(Clock::time_point now = Clock::now());

    // One tick: takes what is waiting. Returns false once the transfer is over: a tick that
    // finds no byte after a whole read time-out of silence (the time a read of 128 bytes with
    // the port's time-outs would wait), or the line has hung up.
    bool Tick(Clock::time_point now = Clock::now());

    // Bytes kept in the receive area / thrown away because it was full.
    int kept() const;
    long long dropped() const { return dropped_; }
    bool receivedNothing() const { return kept() == 0 && dropped_ == 0; }

private:
    Clock::time_point lastArrival_{};
    long long dropped_ = 0;
};

// After a transfer given up part-way: reads and throws away what the analyzer still sends, until
// the line has been quiet for `quietMs` or `limitMs` have passed, so that the rest of the picture
// does not reach the next exchange.
void DiscardRestOfReply(int quietMs, int limitMs);
