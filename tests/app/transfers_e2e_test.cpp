// Operations that wait on the analyzer or send whole tables, run from the menu of the running
// program against the simulated analyzer. The wire text and the panel's widgets are judged in
// ControlPanelSimTest, ControlPanelTest and UserDataSim; here the menu, the real wait window and
// the settings file.

#include "app_test.h"
#include "instrument_settings.h"
#include "menu_ids.h"
#include "message_dialog.h"
#include "user_data_upload.h"

namespace {

using TransfersTest = AppTest;

TEST_F(TransfersTest, AutoTuneWaitsForTheAnalyzerThenReadsEverythingBack) {
    // Longer than the command's own reply wait, so the wait window is the one that sees "OK".
    session.simArgs << QStringLiteral("--auto-ms") << QStringLiteral("2500");
    Start();
    ui->holdButton->click();
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
    Mark();
    Menu(menuid::kAutoTune)->trigger();
    EXPECT_TRUE(waitShown);
    EXPECT_TRUE(ContainsInOrder(
        Since(), {"AUTO", "FREQ?", "RBWAUTO", "RBW?", "VBWAUTO", "VBW?", "SWEEPAUTO", "SWEEP?"}));
    EXPECT_EQ(gSettings.runState, 0) << "auto tune holds the program";
}

TEST_F(TransfersTest, UserCorrectionTableFromTheMenuIsKeptInTheSettingsFile) {
    Start();
    const QString table = session.directory() + QStringLiteral("/antenna.txt");
    ASSERT_TRUE(orvel::test::WriteFile(table, "30M:12.5dB,100M:10.2dB\r\n"));
    userdata::SetFileChooser([&](int, QWidget*) { return table; });
    Mark();
    Menu(menuid::kWriteEfUserData)->trigger();
    userdata::SetFileChooser({});
    EXPECT_TRUE(Since().contains("EFUSER30M:12.5dB,100M:10.2dB"));
    ExpectOneMessage("Setting completion.", QMessageBox::Information);
    ASSERT_TRUE(session.close());
    EXPECT_TRUE(SettingsText().contains("EF user data : 30M:12.5dB,100M:10.2dB\r\n"));
}

} // namespace
