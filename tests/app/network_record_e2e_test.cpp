// The program over a network serial server, and File > "Record..." while the live loop runs.

#include "app_session.h"
#include "child_process.h"
#include "control_panel.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "recording_menu.h"
#include "sim_process.h"

#include <QAction>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(NetworkRecordE2E, TheProgramReadsItsAnalyzerThroughSer2net) {
    EnsureApplication();
    AppSession session;
    ASSERT_TRUE(session.prepare());
    orvel::test::Ser2netProcess server(session.sim()->devicePath());
    ASSERT_TRUE(server.started());
    qputenv("ORVEL_COM1", QByteArray::fromStdString(server.url()));
    ASSERT_TRUE(session.launch());
    EXPECT_TRUE(session.waitReceived("REMOTE?")) << "All Reading went over the network";
    const int before = session.receivedCount();
    session.view()->panel()->holdButton->click();
    EXPECT_TRUE(session.waitReceived("SRSCURR", before));
    EXPECT_TRUE(session.close());
}

TEST(NetworkRecordE2E, RecordAppendsEveryLiveTraceUntilStopped) {
    EnsureApplication();
    AppSession session;
    ASSERT_TRUE(session.start());
    const QString path = session.directory() + QStringLiteral("/rec.csv");
    RecordingMenu::SetPathChooser([path](QWidget*) { return path; });
    QAction* record = session.frame()->menu()->action(menuid::kRecord);
    ASSERT_NE(record, nullptr);
    record->trigger();
    EXPECT_TRUE(record->isChecked());
    session.view()->panel()->holdButton->click();
    ASSERT_TRUE(WaitUntil([&] { return session.view()->recording()->recorder().rows() >= 3; }));
    record->trigger();
    EXPECT_FALSE(record->isChecked());
    const int rows = session.view()->recording()->recorder().rows();
    WaitUntil([] { return false; }, 500);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 8 + rows) << "nothing after the stop";
    for (int i = 8; i < lines.size(); ++i) {
        const auto fields = lines[i].split(',').size();
        EXPECT_TRUE(fields == 7 + 251 || fields == 7 + 1001) << fields;
    }
    RecordingMenu::SetPathChooser({});
    EXPECT_TRUE(session.close());
}

} // namespace
