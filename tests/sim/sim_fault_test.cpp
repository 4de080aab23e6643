// Fault options, each seen for real on the line.

#include "sim_session.h"

#include <gtest/gtest.h>
#include <poll.h>

using simtest::SimSession;
using namespace std::chrono_literals;

namespace {

TEST(SimFaults, DropLeavesTheCommandUnanswered) {
    SimSession s({"--no-pace", "--fault", "drop:FREQ?"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    std::string reply;
    ASSERT_TRUE(s.port->sendLine("FREQ?"));
    EXPECT_TRUE(s.sim->waitForLogLine("! drop FREQ?"));
    EXPECT_FALSE(s.port->readUntil("\r\n", reply, 300ms)) << reply;
    EXPECT_EQ(s.ask("SPAN?"), "20M");
}

TEST(SimFaults, ErrReplacesTheChosenReply) {
    SimSession s({"--no-pace", "--fault", "err:SPAN?#2", "--fault", "err:#5"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    EXPECT_EQ(s.ask("SPAN?"), "20M");
    EXPECT_EQ(s.ask("SPAN?"), "ERR");
    EXPECT_EQ(s.ask("SPAN?"), "20M");
    EXPECT_EQ(s.ask("REF?"), "10");
    EXPECT_EQ(s.ask("REF?"), "ERR"); // the fifth reply of all
    EXPECT_EQ(s.ask("REF?"), "10");
}

TEST(SimFaults, GarbageComesBeforeTheReply) {
    SimSession s({"--no-pace", "--fault", "garbage:SRSCURR", "--fault", "garbage:CAPT"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    std::string text = s.recordText("SRSCURR", 251);
    const std::string garbage("\x07#\xff\x00~?garbage", 14);
    ASSERT_EQ(text.substr(0, garbage.size()), garbage);
    EXPECT_EQ(text.substr(garbage.size(), 6), "MODEL ");
    simtest::DecodedRecord r = simtest::decodeRecord(text, 252);
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.points.size(), 251u);
    std::string comp;
    ASSERT_TRUE(s.port->sendLine("CAPT"));
    ASSERT_TRUE(s.port->readUntil("COMP\r\n", comp));
    EXPECT_EQ(comp, garbage + "COMP\r\n");
}

TEST(SimFaults, StallStopsInTheMiddleOfTheReplyThenFinishes) {
    SimSession s({"--no-pace", "--fault", "stall:SRSF", "--stall-ms", "1500"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    ASSERT_TRUE(s.port->sendLine("SRSF"));
    std::string first = s.port->readUntilQuiet(400ms);
    EXPECT_TRUE(s.sim->waitForLogLine("! stall SRSF"));
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first.find("TRACE"), std::string::npos);
    EXPECT_EQ(simtest::decodeRecord(first, 1005).points.size() < 1001, true);
    std::string rest = s.port->readRecord(1001 - 1);
    simtest::DecodedRecord whole = simtest::decodeRecord(first + rest, 1005);
    EXPECT_TRUE(whole.complete);
    EXPECT_EQ(whole.points.size(), 1001u);
    EXPECT_EQ(s.ask("SPAN?"), "20M"); // the next reply is whole
}

TEST(SimFaults, HangupClosesTheLine) {
    SimSession s({"--no-pace", "--fault", "hangup:#3"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    EXPECT_EQ(s.ask("SPAN?"), "20M");
    EXPECT_EQ(s.ask("REF?"), "10");
    ASSERT_TRUE(s.port->sendLine("FREQ?"));
    EXPECT_TRUE(s.sim->waitForLogLine("! hangup FREQ?"));
    // The program's end sees the hang-up.
    EXPECT_TRUE(orvel::test::SimProcess::waitFor([&] {
        pollfd p{s.port->fd(), POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP);
    }));
    EXPECT_TRUE(s.sim->isRunning());
}

TEST(SimFaults, CaptureCompletionCanBeDropped) {
    SimSession s({"--no-pace", "--fault", "drop:CAPT#1"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    ASSERT_EQ(s.ask("SWEEP10M"), "OK");
    ASSERT_TRUE(s.port->sendLine("CAPT"));
    EXPECT_TRUE(s.sim->waitForLogLine("! drop CAPT"));
    EXPECT_TRUE(s.capture()); // the second capture completes
    EXPECT_EQ(s.sim->countLogLines("> COMP"), 1);
}

TEST(SimFaults, PacedRepliesArriveWhole) {
    SimSession s({"--baud", "57600"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    simtest::DecodedRecord r = s.screen();
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.points.size(), 251u);
    EXPECT_EQ(s.ask("VER"), "VER1.05 RVX410");
}

} // namespace
