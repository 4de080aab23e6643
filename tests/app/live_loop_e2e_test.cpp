// The running program's live loop: closing the window while a screen record is half in, the
// analyzer reached through a network serial server, and File > "Record..." while the loop runs.

#include "app_test.h"
#include "child_process.h"
#include "live_link.h"
#include "menu_ids.h"
#include "recording_menu.h"
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
    EXPECT_TRUE(session.waitReceived("REMOTE?")) << "All Reading went over the network";
    Mark();
    paneltest::PanelControls(session.view()).holdButton->click();
    EXPECT_TRUE(WaitSince("SRSCURR"));
    EXPECT_TRUE(session.close());
}

TEST_F(LiveLoopE2E, RecordAppendsEveryLiveTraceUntilStopped) {
    Start();
    const QString path = session.directory() + QStringLiteral("/rec.csv");
    RecordingMenu::SetPathChooser([path](QWidget*) { return path; });
    QAction* record = Menu(menuid::kRecord);
    ASSERT_NE(record, nullptr);
    record->trigger();
    EXPECT_TRUE(record->isChecked());
    ui->holdButton->click();
    ASSERT_TRUE(WaitUntil([&] { return session.view()->recording()->recorder().rows() >= 3; }));
    record->trigger();
    EXPECT_FALSE(record->isChecked());
    const int rows = session.view()->recording()->recorder().rows();
    RunFor(500);
    const QList<QByteArray> lines = orvel::test::ReadFile(path).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 8 + rows) << "nothing after the stop";
    for (int i = 8; i < lines.size(); ++i) {
        const auto fields = lines[i].split(',').size();
        EXPECT_TRUE(fields == 7 + 251 || fields == 7 + 1001) << fields;
    }
    RecordingMenu::SetPathChooser({});
    EXPECT_TRUE(session.close());
}

} // namespace
