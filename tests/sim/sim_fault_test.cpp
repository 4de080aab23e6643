// Fault options seen for real on the line; drop, garbage and stall are judged by the link tests.

#include "sim_session.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>
#include <vector>

using simtest::SimSession;

namespace {

// The second "SPAN?" and the fifth reply of all answer "ERR"; the seventh command hangs up.
TEST(SimFaults, ErrReplacesTheChosenReplyAndHangupClosesTheLine) {
    SimSession s(
        {"--no-pace", "--fault", "err:SPAN?#2", "--fault", "err:#5", "--fault", "hangup:#7"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    s.expectReplies({"SPAN? -> 20M", "SPAN? -> ERR", "SPAN? -> 20M", "REF? -> 10", "REF? -> ERR",
                     "REF? -> 10"});
    ASSERT_TRUE(s.port->sendLine("FREQ?"));
    EXPECT_TRUE(s.sim->waitForLogLine("! hangup FREQ?"));
    // The program's end sees the hang-up.
    EXPECT_TRUE(orvel::test::SimProcess::waitFor([&] {
        pollfd p{s.port->fd(), POLLIN, 0};
        return ::poll(&p, 1, 0) > 0 && (p.revents & POLLHUP);
    }));
    EXPECT_TRUE(s.sim->isRunning());
    // Reopened as a reconnect does, the name stays gone; new lines (other tests') never get it.
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
