// The simulator's process and line: device path, --link, the wire log, the end of standard input,
// and the test-support helpers that other tests rely on.

#include "raw_pty.h"
#include "sim_process.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using orvel::test::RawPty;
using orvel::test::SerialClient;
using orvel::test::SimProcess;

namespace {

TEST(SimLine, PrintsItsDeviceAndLogsEveryLineAndReply) {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_EQ(sim.devicePath().rfind("/dev/pts/", 0), 0u) << sim.devicePath();
    SerialClient port(sim.devicePath());
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(port.ask("FREQ2000000000.0000"), "OK");
    EXPECT_EQ(port.ask("freq?"), "2000000000.0000");
    EXPECT_EQ(port.ask(""), "ERR");
    ASSERT_TRUE(sim.waitForLogLine("> ERR", orvel::test::kDefaultTimeout));
    EXPECT_EQ(sim.received(), (std::vector<std::string>{"FREQ2000000000.0000", "freq?", ""}));
    EXPECT_EQ(sim.sent(),
              (std::vector<std::string>{"OK\\r\\n", "2000000000.0000\\r\\n", "ERR\\r\\n"}));
    auto entries = sim.logEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().mark, '!');
    for (size_t i = 1; i < entries.size(); ++i)
        EXPECT_LE(entries[i - 1].seconds, entries[i].seconds);
    EXPECT_EQ(SimProcess::unescape("A\\r\\n\\x00\\\\"), std::string("A\r\n\0\\", 5));
}

TEST(SimLine, LinkPointsAtTheDeviceAndGoesAwayAtTheEnd) {
    std::string link = "/tmp/orvel-sim-link-" + std::to_string(::getpid());
    ASSERT_EQ(::symlink("/nonexistent", link.c_str()), 0); // an old link is replaced
    {
        SimProcess sim({"--no-pace", "--link", link});
        ASSERT_TRUE(sim.started()) << sim.error();
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), sim.devicePath());
        SerialClient port(link);
        EXPECT_EQ(port.ask("SPAN?"), "20M");
    }
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    ::unlink(link.c_str());
}

TEST(SimLine, EndsWhenStandardInputCloses) {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.started()) << sim.error();
    EXPECT_TRUE(sim.isRunning());
    sim.closeStdin();
    EXPECT_TRUE(SimProcess::waitFor([&] { return !sim.isRunning(); }));
    EXPECT_TRUE(sim.waitForLogLine("! stop"));
}

TEST(SimLine, ClosingAndReopeningThePortKeepsTheLineUp) {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.started()) << sim.error();
    {
        SerialClient port(sim.devicePath());
        EXPECT_EQ(port.ask("REF-20"), "OK");
    }
    SerialClient again(sim.devicePath());
    EXPECT_EQ(again.ask("REF?"), "-20");
}

TEST(SimLine, RefusesBadOptionsWithAMessage) {
    SimProcess sim({"--fault", "explode"});
    EXPECT_FALSE(sim.started());
    EXPECT_NE(sim.error().find("bad --fault"), std::string::npos) << sim.error();
}

TEST(SimLine, LongLineWithoutEndIsRefused) {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.started()) << sim.error();
    SerialClient port(sim.devicePath());
    ASSERT_TRUE(port.write(std::string(5000, 'A')));
    std::string reply;
    ASSERT_TRUE(port.readUntil("\r\n", reply));
    EXPECT_EQ(reply, "ERR\r\n");
    EXPECT_EQ(port.ask("SPAN?"), "20M"); // and the line goes on
}

TEST(RawPtyHelper, CarriesBytesBothWays) {
    RawPty pty;
    ASSERT_TRUE(pty.isOpen());
    SerialClient program(pty.devicePath());
    ASSERT_TRUE(program.isOpen());
    ASSERT_TRUE(program.sendLine("VER"));
    std::string got;
    ASSERT_TRUE(pty.readUntil("\r\n", got));
    EXPECT_EQ(got, "VER\r\n");
    ASSERT_TRUE(pty.write("VER"));
    ASSERT_TRUE(pty.write("9.99\r\n"));
    ASSERT_TRUE(program.readUntil("\r\n", got));
    EXPECT_EQ(got, "VER9.99\r\n");
    pty.hangUp();
    EXPECT_FALSE(program.readUntil("\r\n", got, std::chrono::milliseconds(200)));
}

} // namespace
