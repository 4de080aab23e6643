// The simulator's process and line: device, --link, wire log, end of input, "ERR" and hang-up.

#include "sim_session.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

using orvel::test::SerialClient;
using orvel::test::SimProcess;

namespace {

// One line: its device, the wire log, a line too long, and replies kept for a slow reader.
TEST(SimLine, PrintsItsDeviceLogsEveryLineAndKeepsEveryReply) {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_EQ(sim.devicePath().rfind("/dev/pts/", 0), 0u) << sim.devicePath();
    SerialClient port(sim.devicePath());
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(port.ask("FREQ2000000000.0000"), "OK");
    EXPECT_EQ(port.ask("freq?"), "2000000000.0000");
    EXPECT_EQ(port.ask(""), "ERR");
    EXPECT_EQ(port.ask("A\\B\x01"), "ERR");
    ASSERT_TRUE(sim.waitForLogLine("> ERR", orvel::test::kDefaultTimeout, 2));
    EXPECT_EQ(sim.received(),
              (std::vector<std::string>{"FREQ2000000000.0000", "freq?", "", "A\\\\B\\x01"}));
    EXPECT_EQ(sim.sent(), (std::vector<std::string>{"OK\\r\\n", "2000000000.0000\\r\\n",
                                                    "ERR\\r\\n", "ERR\\r\\n"}));
    auto entries = sim.logEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().mark, '!');
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                               [](auto& a, auto& b) { return a.seconds < b.seconds; }));
    EXPECT_EQ(SimProcess::unescape("A\\r\\n\\x00\\\\"), std::string("A\r\n\0\\", 5));

    // A long line without an end is refused, and the line goes on.
    ASSERT_TRUE(port.write(std::string(5000, 'A')));
    std::string reply;
    ASSERT_TRUE(port.readUntil("\r\n", reply));
    EXPECT_EQ(reply, "ERR\r\n");
    EXPECT_EQ(port.ask("SPAN?"), "20M");

    // A program that does not read gets every reply later: about 1 MB of hard copies, then "VER".
    std::string commands;
    for (int i = 0; i < 60; ++i)
        commands += "PRT\r\n";
    ASSERT_TRUE(port.write(commands + "VER\r\n"));
    std::string all;
    ASSERT_TRUE(port.readUntil("VER1.05 RVX410\r\n", all, std::chrono::seconds(60)));
    size_t records = 0;
    for (size_t at = all.find("l0370"); at != std::string::npos; at = all.find("l0370", at + 745))
        ++records;
    EXPECT_EQ(records, 60u * 22u);
    EXPECT_EQ(all.size(), 60u * 16390u + 16u);
}

// An old link is replaced and goes away at the end; a file that is not a link is never replaced;
// a bad option is refused with a message.
TEST(SimLine, LinkPointsAtTheDeviceReplacesOnlyALinkAndBadOptionsAreRefused) {
    const std::string link = "/tmp/orvel-sim-link-" + std::to_string(::getpid());
    ASSERT_EQ(::symlink("/nonexistent", link.c_str()), 0);
    {
        SimProcess sim({"--no-pace", "--link", link});
        ASSERT_TRUE(sim.started()) << sim.error();
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.devicePath());
        SerialClient port(link);
        EXPECT_EQ(port.ask("SPAN?"), "20M");
    }
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    std::ofstream(link) << "keep me";
    SimProcess sim({"--no-pace", "--link", link});
    EXPECT_FALSE(sim.started());
    EXPECT_NE(sim.error().find("not a symbolic link"), std::string::npos) << sim.error();
    std::string text;
    std::getline(std::ifstream(link), text);
    EXPECT_EQ(text, "keep me");
    ::unlink(link.c_str());
    SimProcess bad({"--fault", "explode"});
    EXPECT_FALSE(bad.started());
    EXPECT_NE(bad.error().find("bad --fault"), std::string::npos) << bad.error();
    EXPECT_NE(bad.stderrText().find("usage: orvel-sim"), std::string::npos);
}

TEST(SimLine, LogNotesAProgramEndAtAnotherBaudRateAndStdinEndsIt) {
    SimProcess sim({"--no-pace", "--baud", "19200"});
    ASSERT_TRUE(sim.started()) << sim.error();
    SerialClient port(sim.devicePath());
    termios tio{};
    ASSERT_EQ(::tcgetattr(port.fd(), &tio), 0);
    ::cfsetspeed(&tio, B19200);
    ASSERT_EQ(::tcsetattr(port.fd(), TCSANOW, &tio), 0);
    EXPECT_EQ(port.ask("SPAN?"), "20M");
    ::cfsetspeed(&tio, B9600);
    ASSERT_EQ(::tcsetattr(port.fd(), TCSANOW, &tio), 0);
    EXPECT_EQ(port.ask("SPAN?"), "20M");
    EXPECT_TRUE(sim.waitForLogLine("set to 9600 baud; the analyzer runs at 19200"));
    EXPECT_EQ(sim.countLogLines("set to 19200"), 0);
    // The end of standard input ends the simulator, as a user's Ctrl-D.
    EXPECT_TRUE(sim.isRunning());
    sim.closeStdin();
    EXPECT_TRUE(SimProcess::waitFor([&] { return !sim.isRunning(); }));
    EXPECT_TRUE(sim.waitForLogLine("! stop"));
}

// The second "SPAN?" and the fifth reply of all answer "ERR"; the seventh command hangs up.
TEST(SimFaults, ErrReplacesTheChosenReplyAndHangupClosesTheLine) {
    simtest::SimSession s(
        {"--no-pace", "--fault", "err:SPAN?#2", "--fault", "err:#5", "--fault", "hangup:#7"});
    ASSERT_TRUE(s.ready()) << s.sim->error();
    s.expectReplies({"SPAN? -> 20M", "SPAN? -> ERR", "SPAN? -> 20M", "REF? -> 10", "REF? -> ERR",
                     "REF? -> 10"});
    ASSERT_TRUE(s.port->sendLine("FREQ?"));
    EXPECT_TRUE(s.sim->waitForLogLine("! hangup FREQ?"));
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
    SerialClient again(dead);
    EXPECT_FALSE(again.isOpen()) << dead << " was reopened";
    EXPECT_TRUE(s.sim->isRunning());
    for (int fd : others)
        ::close(fd);
}

} // namespace
