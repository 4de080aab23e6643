// The live loop: closing mid-record, and the analyzer reached through a network serial server.

#include "app_session.h"
#include "child_process.h"
#include "live_link.h"

#include <QElapsedTimer>

namespace {

using LiveLoopE2E = AppTest;

// Paced at 19200 baud: the close ends at once, with nothing more sent.
TEST_F(LiveLoopE2E, ClosingTheWindowMidRecordEndsCleanly) {
    session.simArgs = {"--baud", "19200"};
    Start();
    Mark();
    ui->holdButton->click(); // one screen at once, then the loop
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

// All Setting through the network: the record and the version query, the window state applied.
TEST_F(LiveLoopE2E, TheProgramReachesItsAnalyzerThroughSer2netWithAllSetting) {
    session.settingsFile =
        QByteArray("Start setup : 1\r\nCenter frequency : 1234500000\r\nStart window size : 2\r\n");
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
    session.clickHoldRun();
    EXPECT_TRUE(WaitSince("SRSCURR"));
    EXPECT_TRUE(session.close());
}

} // namespace
