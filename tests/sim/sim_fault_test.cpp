// Fault options, each seen for real on the line.

#include "sim_session.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using simtest::SimSession;
using namespace std::chrono_literals;

namespace {

TEST(SimFaults, DropLeavesTheCommandUnanswered) {
    SimSession s({"--no-pace", "--fault", "drop:FREQ?", "--fault", "drop:CAPT#1"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    std::string reply;
    ASSERT_TRUE(s.port->sendLine("FREQ?"));
    EXPECT_TRUE(s.sim->waitForLogLine("! drop FREQ?"));
    EXPECT_FALSE(s.port->readUntil("\r\n", reply, 300ms)) << reply;
    EXPECT_EQ(s.ask("SPAN?"), "20M");
    // A dropped capture never answers "COMP"; the next one does.
    ASSERT_EQ(s.ask("SWEEP10M"), "OK");
    ASSERT_TRUE(s.port->sendLine("CAPT"));
    EXPECT_TRUE(s.sim->waitForLogLine("! drop CAPT"));
    EXPECT_TRUE(s.capture());
    EXPECT_EQ(s.sim->countLogLines("> COMP"), 1);
}

TEST(SimFaults, ErrReplacesTheChosenReply) {
    SimSession s({"--no-pace", "--fault", "err:SPAN?#2", "--fault", "err:#5"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    // The second "SPAN?" and the fifth reply of all.
    s.expectReplies({"SPAN? -> 20M", "SPAN? -> ERR", "SPAN? -> 20M", "REF? -> 10", "REF? -> ERR",
                     "REF? -> 10"});
}

TEST(SimFaults, GarbageComesBeforeTheReply) {
    SimSession s({"--no-pace", "--fault", "garbage:SRSCURR", "--fault", "garbage:CAPT"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    std::string text = s.recordText("SRSCURR", 251);
    const std::string garbage("\x07#\xff\x00~?garbage", 14);
    ASSERT_EQ(text.substr(0, garbage.size() + 6), garbage + "MODEL ");
    simtest::DecodedRecord r = simtest::decodeRecord(text, 252);
    EXPECT_EQ(std::tuple(r.complete, r.points.size()), std::tuple(true, 251u));
    std::string comp;
    ASSERT_TRUE(s.port->sendLine("CAPT"));
    ASSERT_TRUE(s.port->readUntil("COMP\r\n", comp));
    EXPECT_EQ(comp, garbage + "COMP\r\n");
}

TEST(SimFaults, StallStopsInTheMiddleOfTheReplyThenFinishes) {
    SimSession s({"--no-pace", "--fault", "stall:SRSF#2", "--stall-ms", "2000"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    // A whole record first: the stalled one has the same length.
    const size_t length = s.recordText("SRSF", 1001).size();
    ASSERT_GT(length, 3003u);
    ASSERT_TRUE(s.port->sendLine("SRSF"));
    std::string first;
    ASSERT_TRUE(s.port->readCount(length / 2, first)) << first.size();
    EXPECT_TRUE(s.sim->waitForLogLine("! stall SRSF"));
    // Half the record came, and nothing after it until the stall is over.
    EXPECT_NE(first.find("TRACE"), std::string::npos);
    EXPECT_LT(simtest::decodeRecord(first, 1005).points.size(), 1001u);
    std::string early = s.port->readAvailable();
    EXPECT_EQ(early, "") << "the stall did not hold the rest back";
    std::string rest;
    ASSERT_TRUE(s.port->readCount(length - length / 2 - early.size(), rest)) << rest.size();
    simtest::DecodedRecord whole = simtest::decodeRecord(first + early + rest, 1005);
    EXPECT_EQ(std::tuple(whole.complete, whole.points.size()), std::tuple(true, 1001u));
    EXPECT_EQ(s.ask("SPAN?"), "20M"); // the next reply is whole
}

TEST(SimFaults, HangupClosesTheLine) {
    SimSession s({"--no-pace", "--fault", "hangup:#3"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    s.expectReplies({"SPAN? -> 20M", "REF? -> 10"});
    ASSERT_TRUE(s.port->sendLine("FREQ?"));
    EXPECT_TRUE(s.sim->waitForLogLine("! hangup FREQ?"));
    // The program's end sees the hang-up.
    EXPECT_TRUE(orvel::test::SimProcess::waitFor([&] {
        pollfd p{s.port->fd(), POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP);
    }));
    EXPECT_TRUE(s.sim->isRunning());
    // The program lets go and reopens the name, as a reconnect does: the device stays gone, and
    // new lines made meanwhile (other tests' analyzers) never get its name.
    const std::string dead = s.sim->devicePath();
    s.port.reset();
    std::vector<int> others;
    for (int i = 0; i < 4; ++i) {
        others.push_back(::posix_openpt(O_RDWR | O_NOCTTY));
        ASSERT_GE(others.back(), 0);
        ASSERT_EQ(::grantpt(others.back()) | ::unlockpt(others.back()), 0);
        EXPECT_NE(::ptsname(others.back()), dead);
    }
    orvel::test::SerialClient again(dead);
    EXPECT_FALSE(again.isOpen()) << dead << " was reopened";
    EXPECT_TRUE(s.sim->isRunning());
    for (int fd : others)
        ::close(fd);
}

} // namespace
