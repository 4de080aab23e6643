// The serial port on a real pseudo-terminal (a hang-up: in FaultDuringAsyncRead).

#include "link_fixtures.h"
#include "port_names.h"

#include <QLoggingCategory>

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

using orvel::test::HandPlayedAnalyzer;

class SerialPortTest : public HandPlayedTest {
protected:
    SerialPortTest() {
        byHand = true;
        profile = -1;
    }
};

std::string gLog;

// The device table (no COM9, no negative index; an empty variable is no override). Nothing opens,
// writes and reads fail without a message; the debug log says what failed and why.
TEST(SerialPortOpen, DeviceTableThenBadIndexMissingOrNonSerialDevicesFailWithoutMessage) {
    ::unsetenv("ORVEL_COM3");
    const char* com1 = std::getenv("ORVEL_COM1");
    const Lines defaults = {com1 ? com1 : "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS3", "", ""};
    EXPECT_EQ((Lines{PortDevicePath(0), PortDevicePath(2), PortDevicePath(7), PortDevicePath(8),
                     PortDevicePath(-1)}),
              defaults);
    ::setenv("ORVEL_COM3", "/tmp/analyzer", 1);
    EXPECT_EQ(PortDevicePath(2), "/tmp/analyzer");
    ::setenv("ORVEL_COM3", "", 1);
    EXPECT_EQ(PortDevicePath(2), "/dev/ttyACM0");
    HandPlayedAnalyzer pty;
    const std::string dir = ::testing::TempDir();
    const std::string file = dir + "/not-a-port";
    ASSERT_TRUE(std::ofstream(file).good());
    QLoggingCategory::setFilterRules(QStringLiteral("orvel.link.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { gLog += m.toStdString(); });
    // {device, index (no COM9: the index alone opens nothing), handle, what the log names}
    const std::tuple<std::string, int, int, const char*> cases[] = {
        {pty.devicePath(), 8, 0, ""},
        {dir + "/no-such-device", 0, -1, "No such file or directory"},
        {file, 0, -1, "isatty failed"}};
    for (const auto& [path, index, handle, cause] : cases) {
        gLog.clear();
        UseComPort(path);
        gSettings.comPortIndex = index;
        CommPort(portop::kOpen);
        EXPECT_EQ(gLink.comHandle, handle) << path;
        EXPECT_NE(gLog.find(cause), std::string::npos) << gLog;
        std::strcpy(gLink.txBuffer, "FREQ?\r\n");
        CommPort(portop::kWrite);
        EXPECT_STREQ(gLink.rxBuffer, "Write error") << path;
        CommPort(portop::kRead);
        EXPECT_STREQ(gLink.rxBuffer, "Read error") << path;
        EXPECT_EQ(gLink.rxLength, 0) << path;
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    std::remove(file.c_str());
}

// Open sets the long profile, an unknown one keeps it; a reply loses its CR LF only (a NUL stays);
// whole read chunks (256 bytes, 64 below 19200 baud) are no read error; a zero scale ends at once.
TEST_F(SerialPortTest, TextGoesOutWholeAndTheReplyLosesItsLineEndOnly) {
    EXPECT_EQ(CurrentReadTimeouts().totalConstant, 401);
    SetPortTimeouts(portprofile::kShort);
    EXPECT_EQ(CurrentReadTimeouts().totalConstant, 201);
    SetPortTimeouts(7);
    EXPECT_EQ(CurrentReadTimeouts().totalConstant, 201);
    EXPECT_EQ(CurrentReadTimeouts().betweenBytes, 20);
    Reconnect();
    EXPECT_EQ(gLink.comHandle, 1);
    std::strcpy(gLink.txBuffer, "FREQ1000000000.0000\r\n");
    CommPort(portop::kWrite);
    EXPECT_EQ(analyzer->Receive(21), "FREQ1000000000.0000\r\n");
    // A small scale: the silent case waits a short total time-out, the replies are all waiting.
    gSettings.timeOutSetting = 5;
    const std::string a510(510, 'A'), a126(126, 'A');
    // {baud index, sent, received, length}
    const std::tuple<int, std::string, std::string, int> cases[] = {
        {3, "OK\r\n", "OK", 4},        {3, "20M", "20M", 3},
        {3, "", "Read error", 0},      {3, std::string("O\0K\r\n", 5), "O", 5},
        {3, a510 + "\r\n", a510, 512}, {2, a126 + "\r\n", a126, 128}};
    for (const auto& [baudIndex, sent, rx, length] : cases) {
        gSettings.baudIndex = baudIndex;
        SetPortTimeouts(portprofile::kLong);
        analyzer->Send(sent);
        CommPort(portop::kRead);
        EXPECT_EQ(gLink.rxBuffer, rx) << length;
        EXPECT_EQ(gLink.rxLength, length) << length;
    }
    gSettings.timeOutSetting = 0;
    SetPortTimeouts(portprofile::kLong);
    CommPort(portop::kRead);
    EXPECT_STREQ(gLink.rxBuffer, "Read error");
}

// Short reads take what arrived and leave the buffer when nothing did. A reply split over several
// writes arrives as one; a flood is cut at the buffer, the rest drained; an endless one does not
// hold the read.
TEST_F(SerialPortTest, ShortReadsSplitReplyArrivesWholeAndFloodsAreCut) {
    std::strcpy(gLink.rxBuffer, "Write error");
    EXPECT_EQ(ReadUpTo(8), 0);
    EXPECT_STREQ(gLink.rxBuffer, "Write error");
    EXPECT_EQ(PortBytesWaiting(), 0);
    analyzer->Send("COMP\r\nERR\r\n");
    ASSERT_EQ(analyzer->Receive(0, 0), "");
    // Wait until the bytes are there, then take exactly six.
    ASSERT_TRUE(orvel::test::SimProcess::waitFor([] { return PortBytesWaiting() != 0; }));
    EXPECT_EQ(ReadUpTo(6), 6);
    EXPECT_STREQ(gLink.rxBuffer, "COMP\r\n");
    EXPECT_EQ(ReadUpTo(8), 5);
    EXPECT_STREQ(gLink.rxBuffer, "ERR\r\n");
    // Generous gaps on a loaded machine: between-bytes at its long-profile value.
    gSettings.timeOutSetting = 200;
    SetPortTimeouts(portprofile::kLong);
    std::thread player([this] {
        analyzer->Send("CF 1.0000");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        analyzer->Send("GHz\r\nSP 20");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        analyzer->Send("MHz\r\n");
    });
    CommPort(portop::kRead);
    player.join();
    EXPECT_STREQ(gLink.rxBuffer, "CF 1.0000GHz\r\nSP 20MHz");

    std::thread flooder([this] { analyzer->Send(std::string(30000, '7')); });
    CommPort(portop::kRead);
    flooder.join();
    EXPECT_EQ(gLink.rxLength, kRxBufferSize - 1);
    EXPECT_EQ(std::strlen(gLink.rxBuffer), static_cast<size_t>(kRxBufferSize - 1));
    // The rest is gone: the next exchange starts clean.
    analyzer->Send("OK\r\n");
    CommPort(portop::kRead);
    EXPECT_STREQ(gLink.rxBuffer, "OK");

    // An analyzer that never stops sending; its writes must not block once the line is full.
    ::fcntl(analyzer->master(), F_SETFL, ::fcntl(analyzer->master(), F_GETFL) | O_NONBLOCK);
    std::atomic<bool> stop{false};
    std::thread endless([&] {
        const std::string burst(512, 'Z');
        while (!stop) {
            if (::write(analyzer->master(), burst.data(), burst.size()) <= 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
    });
    SetPortTimeouts(portprofile::kShort);
    CommPort(portop::kRead); // returns: cut, drained for one read's time-out at most
    stop = true;
    endless.join();
    EXPECT_EQ(gLink.rxLength, kRxBufferSize - 1);
    EXPECT_EQ(gLink.rxBuffer[kRxBufferSize - 1], '\0');
}

// The cable pulled in the middle of a reply: the read ends, and the next write and read fail.
TEST_F(SerialPortTest, HangUpMidReplyEndsTheReadAndTheNextWriteFails) {
    gSettings.timeOutSetting = 200;
    SetPortTimeouts(portprofile::kLong);
    std::thread player([this] {
        analyzer->Send("CF 1.0000GHz\r\nSP");
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        analyzer->HangUp();
    });
    CommPort(portop::kRead);
    player.join();
    // What arrived before the hang-up, unless the line discarded it with the hang-up.
    const std::string rx = gLink.rxBuffer;
    EXPECT_TRUE(rx == "CF 1.0000GHz\r\nSP" || rx == "Read error") << rx;
    std::strcpy(gLink.txBuffer, "SRSCURR\r\n");
    CommPort(portop::kWrite);
    EXPECT_STREQ(gLink.rxBuffer, "Write error");
    CommPort(portop::kRead);
    EXPECT_STREQ(gLink.rxBuffer, "Read error");
}

TEST(SerialPortTimeouts, ProfilesFollowBaudAndScaleAndAWaitLastsAtLeastItsTime) {
    // Rows: profile, scale, baud index, then between bytes, per byte, total. 9600 uses the fast
    // row; values a damaged settings file may hold keep to the scale's range.
    const int cases[][6] = {
        {1, 100, 3, 60, 20, 401},   {2, 100, 3, 20, 6, 201},      {1, 100, 2, 60, 20, 401},
        {1, 100, 1, 180, 60, 1201}, {2, 100, 0, 60, 20, 601},     {1, 0, 3, 0, 0, 1},
        {2, 50, 3, 10, 3, 101},     {1, 100000, 3, 120, 40, 801}, {1, -40, 3, 0, 0, 1}};
    for (const auto& c : cases) {
        const ReadTimeouts r = ReadTimeoutsFor(c[0], c[1], c[2]);
        EXPECT_EQ((std::vector<int>{r.betweenBytes, r.perByte, r.totalConstant}),
                  (std::vector<int>{c[3], c[4], c[5]}))
            << c[0] << " " << c[1] << " " << c[2];
    }
    const auto start = std::chrono::steady_clock::now();
    WaitMilliseconds(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    WaitMilliseconds(0);
    WaitMilliseconds(-5);
}

} // namespace
