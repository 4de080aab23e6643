// The live loop through a network serial server, and the window closed mid-record.

#include "app_session.h"
#include "child_process.h"
#include "live_link.h"

#include <QElapsedTimer>

namespace {

using LiveLoopE2E = AppTest;

// All Setting through the network at 19200 baud; a close mid-record ends at once, sending nothing.
TEST_F(LiveLoopE2E, Ser2netWithAllSettingThenClosingTheWindowMidRecord) {
    session.settingsFile =
        QByteArray("Start setup : 1\r\nCenter frequency : 1234500000\r\nStart window size : 2\r\n");
    session.simArgs = {"--baud", "19200"};
    ASSERT_TRUE(session.prepare());
    orvel::test::Ser2netProcess server(session.sim()->devicePath());
    ASSERT_TRUE(server.started());
    qputenv("ORVEL_COM1", QByteArray::fromStdString(server.url()));
    ASSERT_TRUE(session.launch());
    const QList<QByteArray> wire = session.received();
    EXPECT_EQ(wire.value(0, "none"), QByteArray());
    EXPECT_TRUE(ContainsInOrder(wire, {"", "FREQ1234500000.0000", "VER"}));
    EXPECT_FALSE(wire.contains("FREQ?")) << "All Setting reads nothing back";
    EXPECT_TRUE(session.watcher().messages().empty());
    EXPECT_TRUE(session.frame()->windowState() & Qt::WindowMinimized);
    Mark();
    session.clickHoldRun(); // one screen at once, then the loop
    ASSERT_TRUE(WaitSince("CAPT"));
    Mark();
    ASSERT_TRUE(WaitSince("SRSCURR"));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitUntil([&] { return clock.elapsed() >= 150; }));
    ASSERT_EQ(CurrentLiveState(), LiveState::ReadingScreen) << "the window ran meanwhile";
    clock.restart();
    ASSERT_TRUE(session.close());
    EXPECT_LT(clock.elapsed(), 300) << "the rest of the record is not waited for";
    EXPECT_EQ(CurrentLiveState(), LiveState::Idle);
    RunFor(300);
    EXPECT_EQ(Since(), (QList<QByteArray>{"SRSCURR"}));
}

} // namespace
