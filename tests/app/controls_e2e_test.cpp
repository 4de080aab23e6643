// The panel and the menu of the running program against the simulated analyzer: what the user
// does, what the analyzer receives.

#include "app_session.h"
#include "control_panel.h"
#include "hidden_command_entry.h"
#include "instrument_settings.h"
#include "main_frame.h"
#include "main_menu.h"
#include "marker_conversion_dialog.h"
#include "marker_panel.h"
#include "measurement_strip.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "trace_display.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

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

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.frameAlive());
        panel = session.view()->panel();
        ASSERT_NE(panel, nullptr);
        session.watcher().clear();
    }
    QAction* Menu(int id) const { return session.frame()->menu()->action(id); }

    AppSession session;
    ControlPanel* panel = nullptr;
};

TEST_F(ControlsTest, HoldStartsTheCaptureCycleAndHoldAgainStopsIt) {
    const int before = session.receivedCount();
    panel->holdButton->click();
    EXPECT_EQ(gSettings.runState, 1);
    EXPECT_EQ(panel->holdButton->text(), "Run");
    // The first screen at once, then a capture request; "COMP" brings the next screen.
    ASSERT_TRUE(session.waitReceived("CAPT", before));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(before), {"SRSCURR", "MEASRES", "CAPT"}));
    ASSERT_TRUE(WaitUntil([&] {
        return ContainsInOrder(session.receivedSince(before),
                               {"SRSCURR", "MEASRES", "CAPT", "SRSCURR", "MEASRES", "CAPT"});
    }));

    panel->holdButton->click();
    EXPECT_EQ(gSettings.runState, 0);
    EXPECT_EQ(panel->holdButton->text(), "Hold");
    const int held = session.receivedCount();
    WaitUntil([] { return false; }, 1500);
    EXPECT_FALSE(session.receivedSince(held).contains("CAPT")) << "no capture while held";
}

TEST_F(ControlsTest, TypedCentreFrequencyIsSentOnEnterAndClamped) {
    const int before = session.receivedCount();
    TypeAndEnter(panel->centerEdit, "1.5G");
    ASSERT_TRUE(session.waitReceived("FREQ1500000000.0000", before));
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.5e9);

    const int typed = session.receivedCount();
    panel->centerEdit->clear();
    QTest::keyClicks(panel->centerEdit, "2.2G");
    WaitUntil([] { return false; }, 300);
    EXPECT_TRUE(session.receivedSince(typed).isEmpty()) << "typing alone sends nothing";
    QTest::keyClick(panel->centerEdit, Qt::Key_Return);
    ASSERT_TRUE(session.waitReceived("FREQ2200000000.0000", typed));

    const int clamped = session.receivedCount();
    TypeAndEnter(panel->centerEdit, "9G");
    ASSERT_TRUE(session.waitReceived("FREQ3300000000.0000", clamped));
}

TEST_F(ControlsTest, FullSpanCentresAndLocksTheCentreAndDropsTheFastestSweep) {
    Choose(panel->sweepCombo, "10ms");
    const int before = session.receivedCount();
    Choose(panel->spanCombo, "Full");
    ASSERT_TRUE(session.waitReceived("SPANFULL", before));
    EXPECT_EQ(panel->centerEdit->text(), "1.6500G");
    EXPECT_FALSE(panel->centerEdit->isEnabled());
    EXPECT_FALSE(Items(panel->sweepCombo).contains("10ms"));
    EXPECT_EQ(panel->sweepCombo->currentText(), "30ms");
    EXPECT_EQ(gSettings.sweepIndex, 1);

    const int back = session.receivedCount();
    Choose(panel->spanCombo, "2G");
    ASSERT_TRUE(session.waitReceived("SPAN2G", back));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(back), {"SPAN2G", "FREQ?"}));
    EXPECT_TRUE(panel->centerEdit->isEnabled());
    EXPECT_EQ(panel->sweepCombo->itemText(0), "10ms");
}

TEST_F(ControlsTest, ReferenceInAnotherUnitIsClampedToThatUnitsRange) {
    const int before = session.receivedCount();
    Choose(panel->unitCombo, "dBuV");
    ASSERT_TRUE(session.waitReceived("UNITDBUV", before));
    const int typed = session.receivedCount();
    TypeAndEnter(panel->refLevelEdit, "60");
    ASSERT_TRUE(session.waitReceived("REF-47", typed));
    EXPECT_EQ(gSettings.refLevel, -47);
    const int high = session.receivedCount();
    TypeAndEnter(panel->refLevelEdit, "500");
    ASSERT_TRUE(session.waitReceived("REF10", high));
    EXPECT_EQ(panel->refLevelEdit->text(), "117");
}

TEST_F(ControlsTest, ImpedanceSeventyFiveSetsTheOffset) {
    const int before = session.receivedCount();
    Choose(panel->impedanceCombo, "75");
    ASSERT_TRUE(session.waitReceived("OFFSET5.7", before));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(before), {"IMP75", "OFFSET5.7"}));
    EXPECT_EQ(panel->offsetEdit->text(), "5.7");
}

TEST_F(ControlsTest, CalculationModesAndCounts) {
    int before = session.receivedCount();
    Choose(panel->calcCombo, "MaxHold");
    ASSERT_TRUE(session.waitReceived("CALCMAX", before));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(before), {"MAXNO?", "CALCMAX"}));
    EXPECT_TRUE(panel->countCombo->isEnabled());

    before = session.receivedCount();
    Choose(panel->countCombo, "16");
    ASSERT_TRUE(session.waitReceived("CALCMAX", before));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(before), {"MAXNO16", "CALCMAX"}));

    before = session.receivedCount();
    Choose(panel->calcCombo, "Average");
    ASSERT_TRUE(session.waitReceived("CALCAVE", before));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(before), {"AVENO?", "CALCAVE"}));
    EXPECT_FALSE(Items(panel->countCombo).contains("**"));
    EXPECT_FALSE(Items(panel->countCombo).contains("1024"));

    before = session.receivedCount();
    Choose(panel->calcCombo, "Normal");
    ASSERT_TRUE(session.waitReceived("CALCOFF", before));
    EXPECT_EQ(panel->countCombo->currentText(), "**");
    EXPECT_FALSE(panel->countCombo->isEnabled());
}

TEST_F(ControlsTest, PresetResetsThePanelAndHolds) {
    panel->holdButton->click();
    TypeAndEnter(panel->refLevelEdit, "-20");
    const int before = session.receivedCount();
    Menu(menuid::kPreset)->trigger();
    ASSERT_TRUE(session.waitReceived("PRESET", before));
    EXPECT_EQ(panel->refLevelEdit->text(), "10");
    EXPECT_EQ(panel->offsetEdit->text(), "0.0");
    EXPECT_TRUE(panel->rbwAutoBox->isChecked());
    EXPECT_TRUE(panel->vbwAutoBox->isChecked());
    EXPECT_TRUE(panel->sweepAutoBox->isChecked());
    EXPECT_FALSE(panel->holdButton->isChecked());
    EXPECT_EQ(panel->holdButton->text(), "Hold");
}

TEST_F(ControlsTest, RemoteTwiceSwitchesOnThenOff) {
    const int before = session.receivedCount();
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(Menu(menuid::kRemote)->isChecked());
    Menu(menuid::kRemote)->trigger();
    ASSERT_TRUE(session.waitReceived("REMOTEOFF", before));
    EXPECT_TRUE(ContainsInOrder(session.receivedSince(before), {"REMOTEON", "REMOTEOFF"}));
    EXPECT_FALSE(Menu(menuid::kRemote)->isChecked());
    EXPECT_EQ(gSettings.remoteState, 0);
}

TEST_F(ControlsTest, HoldRunFromTheMenuTogglesTheHoldButton) {
    Menu(menuid::kHoldRun)->trigger();
    EXPECT_TRUE(panel->holdButton->isChecked());
    EXPECT_EQ(gSettings.runState, 1);
    Menu(menuid::kHoldRun)->trigger();
    EXPECT_FALSE(panel->holdButton->isChecked());
    EXPECT_EQ(panel->holdButton->text(), "Hold");
    EXPECT_EQ(gSettings.runState, 0);
}

TEST_F(ControlsTest, AnythingTypedIsSentOnlyWithinItsRange) {
    const QStringList texts = {
        "",     "abc",    "1e400",
        "-nan", "99999G", "123456789012345678901234567890123456789012345678901234567890"};
    const int before = session.receivedCount();
    for (const QString& text : texts) {
        TypeAndEnter(panel->centerEdit, text);
        TypeAndEnter(panel->refLevelEdit, text);
        TypeAndEnter(panel->offsetEdit, text);
        MarkerPanel* markers = session.view()->display()->Markers();
        TypeAndEnter(markers->marker1Freq, text);
    }
    int frequencies = 0;
    for (const QByteArray& line : session.receivedSince(before)) {
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
    const int before = session.receivedCount();
    TypeAndEnter(entry->entry(), "VER");
    ASSERT_TRUE(session.waitReceived("VER", before));
    EXPECT_FALSE(entry->reply()->text().isEmpty());
    const int typed = session.receivedCount();
    TypeAndEnter(entry->entry(), "hide");
    EXPECT_FALSE(entry->entry()->isVisible());
    EXPECT_FALSE(entry->reply()->isVisible());
    WaitUntil([] { return false; }, 300);
    EXPECT_FALSE(session.receivedSince(typed).contains("hide"));
}

TEST_F(ControlsTest, LinearMarkerConversionIsSentAndLabelled) {
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
    const int before = session.receivedCount();
    Menu(menuid::kConversion)->trigger();
    ASSERT_TRUE(session.waitReceived("CONVW", before));
    EXPECT_EQ(gSettings.conversionIndex, 1);
    EXPECT_EQ(session.view()->display()->Strip()->unitLabel->text(), "W");
}

TEST_F(ControlsTest, CompactWindowRefusesPresetAndSendsNothing) {
    session.frame()->resize(600, 400);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 1; }));
    const int before = session.receivedCount();
    Menu(menuid::kPreset)->trigger();
    ASSERT_EQ(session.watcher().messages().size(), 1u);
    EXPECT_EQ(session.watcher().messages().front().text,
              "When a window is small it is not able to use it.");
    EXPECT_EQ(session.watcher().messages().front().icon, QMessageBox::Warning);
    Menu(menuid::kHoldRun)->trigger();
    EXPECT_EQ(session.watcher().messages().size(), 2u);
    EXPECT_EQ(gSettings.runState, 0);
    WaitUntil([] { return false; }, 300);
    EXPECT_FALSE(session.receivedSince(before).contains("PRESET"));

    // Remote works in the compact layout.
    Menu(menuid::kRemote)->trigger();
    EXPECT_TRUE(session.waitReceived("REMOTEON", before));

    session.frame()->resize(1100, 800);
    ASSERT_TRUE(WaitUntil([] { return gSettings.compactMode == 0; }));
}

} // namespace
