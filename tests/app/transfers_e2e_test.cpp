// Operations that wait on the analyzer or send whole tables, run from the menu of the running
// program against the simulated analyzer.

#include "app_session.h"
#include "control_panel.h"
#include "instrument_settings.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "message_dialog.h"
#include "orvel_view.h"
#include "user_data_upload.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class TransfersTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    QAction* Menu(int id) const { return session.frame()->menu()->action(id); }

    AppSession session;
};

TEST_F(TransfersTest, AutoTuneWaitsForTheAnalyzerThenReadsEverythingBack) {
    // Longer than the command's own reply wait, so the wait window is the one that sees "OK".
    session.simArgs << QStringLiteral("--auto-ms") << QStringLiteral("2500");
    ASSERT_TRUE(session.start());
    ControlPanel* panel = session.view()->panel();
    panel->holdButton->click();
    ASSERT_EQ(gSettings.runState, 1);
    // Leave the wait window to its own timer: it ends when the analyzer answers "OK".
    bool waitShown = false;
    session.watcher().dialogHandler = [&](QDialog* dialog) {
        if (auto* wait = qobject_cast<CMessageDlg*>(dialog)) {
            waitShown = wait->isWaitForm();
            return true;
        }
        return false;
    };
    const int before = session.receivedCount();
    Menu(menuid::kAutoTune)->trigger();
    EXPECT_TRUE(waitShown);
    const QList<QByteArray> wire = session.receivedSince(before);
    EXPECT_TRUE(ContainsInOrder(
        wire, {"AUTO", "FREQ?", "RBWAUTO", "RBW?", "VBWAUTO", "VBW?", "SWEEPAUTO", "SWEEP?"}));
    EXPECT_EQ(gSettings.runState, 0) << "auto tune holds the program";
    EXPECT_FALSE(panel->holdButton->isChecked());
    EXPECT_EQ(panel->autoTuneButton->text(), "Auto Tune");
    EXPECT_FALSE(panel->autoTuneButton->isChecked());
    EXPECT_TRUE(panel->rbwAutoBox->isChecked());
    EXPECT_TRUE(panel->vbwAutoBox->isChecked());
    EXPECT_TRUE(panel->sweepAutoBox->isChecked());
}

TEST_F(TransfersTest, UserCorrectionTableIsUploadedAndKeptInTheSettingsFile) {
    ASSERT_TRUE(session.start());
    const QString table = session.directory() + QStringLiteral("/antenna.txt");
    {
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("30M:12.5dB,100M:10.2dB\r\n");
    }
    userdata::SetFileChooser([&](int, QWidget*) { return table; });
    const int before = session.receivedCount();
    Menu(menuid::kWriteEfUserData)->trigger();
    const QList<QByteArray> wire = session.receivedSince(before);
    EXPECT_TRUE(wire.contains("EFUSER30M:12.5dB,100M:10.2dB"));
    EXPECT_EQ(gSettings.efUserFreq[0], 300);
    EXPECT_EQ(gSettings.efUserGain[1], 1020);
    ASSERT_EQ(session.watcher().messages().size(), 1u);
    EXPECT_EQ(session.watcher().messages().front().text, "Setting completion.");

    ASSERT_TRUE(session.close());
    QFile written(session.settingsPath());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("EF user data : 30M:12.5dB,100M:10.2dB\r\n"));
    userdata::SetFileChooser({});
}

TEST_F(TransfersTest, BinaryUserCorrectionFileIsRefusedAndNothingIsSent) {
    ASSERT_TRUE(session.start());
    const QString table = session.directory() + QStringLiteral("/probe.csv");
    {
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        static const char kBinary[] = "\x00\x01\x02\xff\xfe binary";
        file.write(kBinary, sizeof kBinary - 1);
    }
    userdata::SetFileChooser([&](int, QWidget*) { return table; });
    const int before = session.receivedCount();
    Menu(menuid::kWriteMfUserData)->trigger();
    for (const QByteArray& line : session.receivedSince(before)) {
        EXPECT_FALSE(line.startsWith("MFUSER"));
    }
    ASSERT_EQ(session.watcher().messages().size(), 1u);
    EXPECT_EQ(session.watcher().messages().front().text, "This file can not be opened.");
    userdata::SetFileChooser({});
}

} // namespace
