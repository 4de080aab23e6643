// The menu and the panel of the running program against the simulated analyzer, for what only
// the whole program shows: the menu's commands, the live loop on the program's own timers, the
// compact window, the marker panel and the hidden command entry. What each panel control sends is
// judged in the panel's own simulator tests.

#include "app_test.h"
#include "hidden_command_entry.h"
#include "instrument_settings.h"
#include "marker_conversion_dialog.h"
#include "marker_panel.h"
#include "measurement_strip.h"
#include "menu_ids.h"
#include "trace_display.h"

#include <QRadioButton>

namespace {

using paneltest::Enter;

class ControlsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Start();
        session.watcher().clear();
        Mark();
    }
    void ExpectHeld(bool held) const {
        EXPECT_EQ(ui->holdButton->isChecked(), !held);
        EXPECT_EQ(ui->holdButton->text(), held ? "Hold" : "Run");
        EXPECT_EQ(gSettings.runState, held ? 0 : 1);
    }
};

// Hold/Run from the menu runs the capture cycle on the program's timers: the first screen at
// once, then a capture request; "COMP" brings the next screen. Held again, nothing is captured.
TEST_F(ControlsTest, HoldRunFromTheMenuStartsTheCaptureCycleAndStopsIt) {
    Menu(menuid::kHoldRun)->trigger();
    ExpectHeld(false);
    ASSERT_TRUE(WaitUntil([&] {
        return ContainsInOrder(Since(),
                               {"SRSCURR", "MEASRES", "CAPT", "SRSCURR", "MEASRES", "CAPT"});
    }));
    Menu(menuid::kHoldRun)->trigger();
    ExpectHeld(true);
    Mark();
    RunFor(1500);
    EXPECT_FALSE(Since().contains("CAPT")) << "no capture while held";
}

// What Preset resets is judged in ControlPanelSimTest; here the menu's way to it.
TEST_F(ControlsTest, PresetRemoteAndConversionFromTheMenu) {
    ui->holdButton->click();
    Menu(menuid::kPreset)->trigger();
    ASSERT_TRUE(WaitSince("PRESET"));
    ExpectHeld(true);

    Mark();
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(Menu(menuid::kRemote)->isChecked());
    Menu(menuid::kRemote)->trigger();
    ASSERT_TRUE(WaitSince("REMOTEOFF"));
    EXPECT_TRUE(ContainsInOrder(Since(), {"REMOTEON", "REMOTEOFF"}));
    EXPECT_FALSE(Menu(menuid::kRemote)->isChecked());
    EXPECT_EQ(gSettings.remoteState, 0);

    session.watcher().dialogHandler = [](QDialog* dialog) {
        auto* conversion = qobject_cast<MarkerConversionDialog*>(dialog);
        if (conversion == nullptr) {
            return false;
        }
        EXPECT_EQ(conversion->windowTitle(), "Marker Conversion");
        EXPECT_EQ(conversion->logarithmic()->text(), "dBm");
        EXPECT_EQ(conversion->linear()->text(), "W");
        EXPECT_TRUE(conversion->logarithmic()->isChecked());
        conversion->linear()->setChecked(true);
        conversion->accept();
        return true;
    };
    Mark();
    Menu(menuid::kConversion)->trigger();
    ASSERT_TRUE(WaitSince("CONVW"));
    EXPECT_EQ(gSettings.conversionIndex, 1);
    EXPECT_EQ(session.view()->display()->Measurements().Strip().unitLabel->text(), "W");
}

TEST_F(ControlsTest, CompactWindowRefusesPresetAndHoldRunButNotRemote) {
    session.frame()->resize(600, 400);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 1; }));
    Menu(menuid::kPreset)->trigger();
    ExpectOneMessage("When a window is small it is not able to use it.", QMessageBox::Warning);
    Menu(menuid::kHoldRun)->trigger();
    EXPECT_EQ(session.watcher().messages().size(), 2u);
    EXPECT_EQ(gSettings.runState, 0);
    RunFor(300);
    EXPECT_FALSE(Since().contains("PRESET"));
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(WaitSince("REMOTEON"));
    session.frame()->resize(1100, 800);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 0; }));
}

// Whatever is typed into the panel's and the marker panel's edits, the analyzer only sees values
// within their ranges, never "nan" or "inf".
TEST_F(ControlsTest, AnythingTypedIsSentOnlyWithinItsRange) {
    for (const char* text : {"", "abc", "1e400", "-nan", "99999G",
                             "123456789012345678901234567890123456789012345678901234567890"}) {
        for (QLineEdit* edit : {ui->centerEdit, ui->refLevelEdit, ui->offsetEdit,
                                session.view()->display()->Markers().Panel().marker1Freq}) {
            Enter(edit, text);
        }
    }
    const struct {
        const char* prefix;
        double low, high;
    } ranges[] = {{"FREQ", 0.0, 3.3e9}, {"REF", -60, 10}, {"OFFSET", -50.0, 50.0}};
    int frequencies = 0;
    for (const QByteArray& line : Since()) {
        EXPECT_FALSE(line.toLower().contains("nan")) << line.constData();
        EXPECT_FALSE(line.toLower().contains("inf")) << line.constData();
        for (const auto& range : ranges) {
            if (line.startsWith(range.prefix) && !line.endsWith("?")) {
                bool ok = false;
                const double value = line.mid(qstrlen(range.prefix)).toDouble(&ok);
                ASSERT_TRUE(ok) << line.constData();
                EXPECT_GE(value, range.low) << line.constData();
                EXPECT_LE(value, range.high) << line.constData();
                frequencies += range.prefix[0] == 'F';
            }
        }
    }
    EXPECT_GT(frequencies, 0);
}

// The exchange itself is judged in SimLoopTest; here the entry's widgets.
TEST_F(ControlsTest, HiddenCommandEntryExchangesOneLine) {
    HiddenCommandEntry* entry = session.view()->commandEntry();
    EXPECT_FALSE(entry->entry()->isVisible());
    entry->setVisible(true);
    Enter(entry->entry(), "VER");
    ASSERT_TRUE(WaitSince("VER"));
    EXPECT_FALSE(entry->reply()->text().isEmpty());
    Mark();
    Enter(entry->entry(), "hide");
    EXPECT_FALSE(entry->entry()->isVisible());
    EXPECT_FALSE(entry->reply()->isVisible());
    RunFor(300);
    EXPECT_FALSE(Since().contains("hide"));
}

} // namespace
