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
#include "panel_test_support.h"
#include "trace_display.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// Chooses an entry the way the user does: the combo's selection and its activation.
void Choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void TypeAndEnter(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

class ControlsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Start();
        session.watcher().clear();
        Mark();
    }
};

// Hold/Run from the menu runs the capture cycle on the program's timers: the first screen at
// once, then a capture request; "COMP" brings the next screen. Held again, nothing is captured.
TEST_F(ControlsTest, HoldRunFromTheMenuStartsTheCaptureCycleAndStopsIt) {
    Menu(menuid::kHoldRun)->trigger();
    EXPECT_TRUE(paneltest::PanelControls(panel).holdButton->isChecked());
    EXPECT_EQ(paneltest::PanelControls(panel).holdButton->text(), "Run");
    EXPECT_EQ(gSettings.runState, 1);
    ASSERT_TRUE(WaitUntil([&] {
        return ContainsInOrder(Since(),
                               {"SRSCURR", "MEASRES", "CAPT", "SRSCURR", "MEASRES", "CAPT"});
    }));
    Menu(menuid::kHoldRun)->trigger();
    EXPECT_FALSE(paneltest::PanelControls(panel).holdButton->isChecked());
    EXPECT_EQ(paneltest::PanelControls(panel).holdButton->text(), "Hold");
    EXPECT_EQ(gSettings.runState, 0);
    Mark();
    RunFor(1500);
    EXPECT_FALSE(Since().contains("CAPT")) << "no capture while held";
}

TEST_F(ControlsTest, PresetRemoteAndConversionFromTheMenu) {
    // Preset resets the panel and holds.
    paneltest::PanelControls(panel).holdButton->click();
    TypeAndEnter(paneltest::PanelControls(panel).refLevelEdit, "-20");
    Mark();
    Menu(menuid::kPreset)->trigger();
    ASSERT_TRUE(WaitSince("PRESET"));
    EXPECT_EQ(paneltest::PanelControls(panel).refLevelEdit->text(), "10");
    EXPECT_EQ(paneltest::PanelControls(panel).offsetEdit->text(), "0.0");
    EXPECT_TRUE(paneltest::PanelControls(panel).rbwAutoBox->isChecked());
    EXPECT_TRUE(paneltest::PanelControls(panel).vbwAutoBox->isChecked());
    EXPECT_TRUE(paneltest::PanelControls(panel).sweepAutoBox->isChecked());
    EXPECT_FALSE(paneltest::PanelControls(panel).holdButton->isChecked());
    EXPECT_EQ(paneltest::PanelControls(panel).holdButton->text(), "Hold");

    // Remote twice switches on, then off.
    Mark();
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(Menu(menuid::kRemote)->isChecked());
    Menu(menuid::kRemote)->trigger();
    ASSERT_TRUE(WaitSince("REMOTEOFF"));
    EXPECT_TRUE(ContainsInOrder(Since(), {"REMOTEON", "REMOTEOFF"}));
    EXPECT_FALSE(Menu(menuid::kRemote)->isChecked());
    EXPECT_EQ(gSettings.remoteState, 0);

    // The linear marker conversion is sent and labelled.
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

TEST_F(ControlsTest, CalculationBackToNormalDisablesTheCount) {
    Choose(paneltest::PanelControls(panel).calcCombo, "MaxHold");
    ASSERT_TRUE(WaitSince("CALCMAX"));
    EXPECT_TRUE(paneltest::PanelControls(panel).countCombo->isEnabled());
    Mark();
    Choose(paneltest::PanelControls(panel).calcCombo, "Normal");
    ASSERT_TRUE(WaitSince("CALCOFF"));
    EXPECT_EQ(paneltest::PanelControls(panel).countCombo->currentText(), "**");
    EXPECT_FALSE(paneltest::PanelControls(panel).countCombo->isEnabled());
}

TEST_F(ControlsTest, CompactWindowRefusesPresetAndHoldRunButNotRemote) {
    session.frame()->resize(600, 400);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 1; }));
    Menu(menuid::kPreset)->trigger();
    ASSERT_EQ(session.watcher().messages().size(), 1u);
    EXPECT_EQ(session.watcher().messages().front().text,
              "When a window is small it is not able to use it.");
    EXPECT_EQ(session.watcher().messages().front().icon, QMessageBox::Warning);
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
    const QStringList texts = {
        "",     "abc",    "1e400",
        "-nan", "99999G", "123456789012345678901234567890123456789012345678901234567890"};
    for (const QString& text : texts) {
        TypeAndEnter(paneltest::PanelControls(panel).centerEdit, text);
        TypeAndEnter(paneltest::PanelControls(panel).refLevelEdit, text);
        TypeAndEnter(paneltest::PanelControls(panel).offsetEdit, text);
        TypeAndEnter(session.view()->display()->Markers().Panel().marker1Freq, text);
    }
    int frequencies = 0;
    for (const QByteArray& line : Since()) {
        EXPECT_FALSE(line.toLower().contains("nan")) << line.constData();
        EXPECT_FALSE(line.toLower().contains("inf")) << line.constData();
        bool ok = false;
        if (line.startsWith("FREQ") && !line.endsWith("?")) {
            const double hz = line.mid(4).toDouble(&ok);
            ASSERT_TRUE(ok) << line.constData();
            EXPECT_GE(hz, 0.0) << line.constData();
            EXPECT_LE(hz, 3.3e9) << line.constData();
            ++frequencies;
        } else if (line.startsWith("REF")) {
            const int ref = line.mid(3).toInt(&ok);
            ASSERT_TRUE(ok) << line.constData();
            EXPECT_GE(ref, -60) << line.constData();
            EXPECT_LE(ref, 10) << line.constData();
        } else if (line.startsWith("OFFSET")) {
            const double offset = line.mid(6).toDouble(&ok);
            ASSERT_TRUE(ok) << line.constData();
            EXPECT_GE(offset, -50.0) << line.constData();
            EXPECT_LE(offset, 50.0) << line.constData();
        }
    }
    EXPECT_GT(frequencies, 0);
}

TEST_F(ControlsTest, HiddenCommandEntryExchangesOneLine) {
    HiddenCommandEntry* entry = session.view()->commandEntry();
    EXPECT_FALSE(entry->entry()->isVisible());
    entry->setVisible(true);
    TypeAndEnter(entry->entry(), "VER");
    ASSERT_TRUE(WaitSince("VER"));
    EXPECT_FALSE(entry->reply()->text().isEmpty());
    Mark();
    TypeAndEnter(entry->entry(), "hide");
    EXPECT_FALSE(entry->entry()->isVisible());
    EXPECT_FALSE(entry->reply()->isVisible());
    RunFor(300);
    EXPECT_FALSE(Since().contains("hide"));
}

} // namespace
