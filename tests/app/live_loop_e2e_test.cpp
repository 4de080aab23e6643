// The running program's live loop: closing the window while a screen record is half in, and the
// analyzer reached through a network serial server.

#include "app_test.h"
#include "child_process.h"
#include "live_link.h"
#include "sim_process.h"

#include <QElapsedTimer>

namespace {

using LiveLoopE2E = AppTest;

// Paced at 19200 baud: the close ends at once, with nothing more sent.
TEST_F(LiveLoopE2E, ClosingTheWindowMidRecordEndsCleanly) {
    session.simArgs = {QStringLiteral("--baud"), QStringLiteral("19200")};
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

TEST_F(LiveLoopE2E, TheProgramReadsItsAnalyzerThroughSer2net) {
    ASSERT_TRUE(session.prepare());
    orvel::test::Ser2netProcess server(session.sim()->devicePath());
    ASSERT_TRUE(server.started());
    qputenv("ORVEL_COM1", QByteArray::fromStdString(server.url()));
    ASSERT_TRUE(session.launch());
    EXPECT_TRUE(session.waitReceived("VER")) << "All Setting went over the network";
    Mark();
    session.clickHoldRun();
    EXPECT_TRUE(WaitSince("SRSCURR"));
    EXPECT_TRUE(session.close());
}

} // namespace
