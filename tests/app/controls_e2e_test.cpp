// The menu and panel of the running program; what each command sends is judged in panel/link.

#include "app_session.h"
#include "hidden_command_entry.h"
#include "marker_conversion_dialog.h"
#include "measurement_strip.h"
#include "message_dialog.h"
#include "user_data_upload.h"

#include <QElapsedTimer>
#include <QRadioButton>

#include <map>
#include <tuple>

namespace {

using paneltest::Enter;

class ControlsTest : public AppTest {
protected:
    void ExpectHeld(bool held) const {
        EXPECT_EQ(
            std::tuple(ui->holdButton->isChecked(), ui->holdButton->text(), gSettings.runState),
            std::tuple(!held, QString(held ? "Hold" : "Run"), held ? 0 : 1));
    }
};

// Auto Tune's "OK" comes later than the command's own reply wait: the wait window sees it.
TEST_F(ControlsTest, MenuAndPanelCommandsOfTheRunningProgram) {
    session.simArgs += QStringList{"--auto-ms", "2500", "--signal", "1.2G:-20"};
    Start();
    EXPECT_TRUE(session.watcher().messages().empty());
    EXPECT_EQ(std::make_tuple(gSettings.instrumentPresent, gSettings.startingUp,
                              session.frame()->windowTitle(), session.frame()->geometry().size()),
              std::make_tuple(1, 0, QString("PC software for Spectrum Analyzer - Orvel"),
                              QSize(978, 748)));
    Mark();
    Menu(menuid::kHoldRun)->trigger();
    ExpectHeld(false);
    ASSERT_TRUE(WaitUntil([&] {
        return ContainsInOrder(Since(),
                               {"SRSCURR", "MEASRES", "CAPT", "SRSCURR", "MEASRES", "CAPT"});
    }));
    Menu(menuid::kHoldRun)->trigger();
    ExpectHeld(true);
    const int heldMark = session.receivedCount();
    QElapsedTimer held;
    held.start();

    Mark();
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(Menu(menuid::kRemote)->isChecked());
    Menu(menuid::kRemote)->trigger();
    ASSERT_TRUE(WaitSince("REMOTEOFF"));
    EXPECT_TRUE(ContainsInOrder(Since(), {"REMOTEON", "REMOTEOFF"}));
    EXPECT_FALSE(Menu(menuid::kRemote)->isChecked());
    EXPECT_EQ(gSettings.remoteState, 0);

    session.watcher().dialogHandler =
        On<MarkerConversionDialog>([](MarkerConversionDialog* conversion) {
            EXPECT_EQ((QStringList{conversion->windowTitle(), conversion->logarithmic()->text(),
                                   conversion->linear()->text()}),
                      (QStringList{"Marker Conversion", "dBm", "W"}));
            EXPECT_TRUE(conversion->logarithmic()->isChecked());
            conversion->linear()->setChecked(true);
            conversion->accept();
        });
    Mark();
    Menu(menuid::kConversion)->trigger();
    ASSERT_TRUE(WaitSince("CONVW"));
    EXPECT_EQ(gSettings.conversionIndex, 1);
    EXPECT_EQ(session.view()->display()->Measurements().Strip().unitLabel->text(), "W");

    // The hidden command entry's widgets; the exchange itself is judged in SimLoopTest.
    HiddenCommandEntry* entry = session.view()->commandEntry();
    EXPECT_FALSE(entry->entry()->isVisible());
    entry->setVisible(true);
    Mark();
    Enter(entry->entry(), "VER");
    ASSERT_TRUE(WaitSince("VER"));
    EXPECT_FALSE(entry->reply()->text().isEmpty());
    Enter(entry->entry(), "hide");
    EXPECT_FALSE(entry->entry()->isVisible() || entry->reply()->isVisible());

    // Nothing typed sends "nan" or "inf", and what reaches the analyzer keeps each field's range.
    Mark();
    for (const char* text : {"", "abc", "1e400", "-nan", "99999G",
                             "123456789012345678901234567890123456789012345678901234567890"}) {
        for (QLineEdit* edit : {ui->centerEdit, ui->refLevelEdit, ui->offsetEdit,
                                session.view()->display()->Markers().Panel().marker1Freq}) {
            Enter(edit, text);
        }
    }
    EXPECT_GE(Since().count(), 24);
    const QByteArray sent = Since().join('|').toLower();
    EXPECT_FALSE(sent.contains("nan") || sent.contains("inf")) << sent.constData();
    std::map<std::string, int> judged; // each of the three must have been sent and judged
    for (const QByteArray& line : Since()) {
        for (const auto& [prefix, low, high] :
             {std::tuple("FREQ", 0.0, 3.3e9), std::tuple("REF", -60.0, 10.0),
              std::tuple("OFFSET", -50.0, 50.0)}) {
            if (!line.startsWith(prefix) || line.endsWith("?"))
                continue;
            bool ok = false;
            const double value = line.mid(qstrlen(prefix)).toDouble(&ok);
            EXPECT_TRUE(ok && value >= low && value <= high) << line.constData();
            ++judged[prefix];
        }
    }
    EXPECT_EQ(judged.size(), 3u);
    RunFor(std::max<int>(0, 1500 - static_cast<int>(held.elapsed())));
    EXPECT_FALSE(session.receivedSince(heldMark).contains("CAPT")) << "no capture while held";

    // Preset from the menu holds the running program.
    ui->holdButton->click();
    Mark();
    Menu(menuid::kPreset)->trigger();
    ASSERT_TRUE(WaitSince("PRESET"));
    ExpectHeld(true);

    // Auto Tune from the menu waits in its wait window and holds the program.
    ui->holdButton->click();
    ASSERT_EQ(gSettings.runState, 1);
    bool waitShown = false;
    session.watcher().dialogHandler =
        On<CMessageDlg>([&](CMessageDlg* wait) { waitShown = waitShown || wait->isWaitForm(); });
    Mark();
    Menu(menuid::kAutoTune)->trigger();
    EXPECT_TRUE(waitShown);
    EXPECT_TRUE(ContainsInOrder(Since(), {"AUTO", "FREQ?", "RBWAUTO", "RBW?", "VBWAUTO", "VBW?",
                                          "SWEEPAUTO", "SWEEP?", "SRSCURR", "MEASRES"}));
    EXPECT_EQ(gSettings.runState, 0);
    EXPECT_NEAR(gSettings.centerFreq, 1.2e9, 1e7) << "the centre read back is the signal's";

    // A user correction table from the menu is sent, confirmed and kept in the settings file.
    const QString table = session.path(QStringLiteral("antenna.txt"));
    ASSERT_TRUE(orvel::test::WriteFile(table, "30M:12.5dB,100M:10.2dB\r\n"));
    userdata::SetFileChooser([&](int, QWidget*) { return table; });
    Mark();
    Menu(menuid::kWriteEfUserData)->trigger();
    userdata::SetFileChooser({});
    EXPECT_TRUE(Since().contains("EFUSER30M:12.5dB,100M:10.2dB"));
    ExpectOneMessage("Setting completion.", QMessageBox::Information, "Message");

    // The compact window refuses Preset and Hold/Run from the menu but not Remote.
    session.frame()->resize(600, 400);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 1; }));
    Mark();
    for (int refused : {menuid::kPreset, menuid::kHoldRun}) {
        Menu(refused)->trigger();
        ExpectOneMessage("When a window is small it is not able to use it.", QMessageBox::Warning);
    }
    EXPECT_EQ(std::make_pair(Since(), gSettings.runState), std::make_pair(QList<QByteArray>(), 0));
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(WaitSince("REMOTEON"));
    session.frame()->resize(1100, 800);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 0; }));
    EXPECT_FALSE(session.received().contains("hide")) << "the entry's own word is not sent";

    ASSERT_TRUE(session.close());
    EXPECT_FALSE(Since().contains("PRESET")) << "a refused Preset is not sent later";
    EXPECT_TRUE(SettingsText().contains("EF user data : 30M:12.5dB,100M:10.2dB\r\n"));
}

} // namespace
