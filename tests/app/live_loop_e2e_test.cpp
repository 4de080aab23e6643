// The running program's live loop against the analyzer paced at 19200 baud: closing the window
// while a screen record is half in ends at once, with nothing more sent.

#include "app_session.h"
#include "control_panel.h"
#include "live_link.h"
#include "main_frame.h"
#include "orvel_view.h"

#include <QElapsedTimer>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(LiveLoopE2E, ClosingTheWindowMidRecordEndsCleanly) {
    EnsureApplication();
    AppSession session;
    session.simArgs = {QStringLiteral("--baud"), QStringLiteral("19200")};
    ASSERT_TRUE(session.start());
    const int before = session.receivedCount();
    session.view()->panel()->holdButton->click(); // one screen at once, then the loop
    ASSERT_TRUE(session.waitReceived("CAPT", before));
    const int since = session.receivedCount();
    ASSERT_TRUE(session.waitReceived("SRSCURR", since));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitUntil([&] { return clock.elapsed() >= 150; }));
    ASSERT_EQ(CurrentLiveState(), LiveState::ReadingScreen) << "the window ran meanwhile";
    clock.restart();
    ASSERT_TRUE(session.close());
    EXPECT_LT(clock.elapsed(), 300) << "the rest of the record is not waited for";
    EXPECT_EQ(CurrentLiveState(), LiveState::Idle);
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(session.receivedSince(since), (QList<QByteArray>{"SRSCURR"}));
}

} // namespace
