// The panel against the simulated analyzer: real widgets, the real link on a pseudo-terminal, and
// the simulator's wire log as the judge of what was sent.

#include "acquisition.h"
#include "all_settings.h"
#include "command_set.h"
#include "event_loop_wait.h"
#include "link_state.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_test_support.h"
#include "panel_view.h"
#include "sim_port.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using orvel::test::SimProcess;
using paneltest::Choose;
using paneltest::Enter;
using Lines = std::vector<std::string>;

namespace {

// The panel's way to the analyzer, as in the program.
class InstrumentLink : public PanelLink {
public:
    int SendCommand(int code) override { return ::SendCommand(code); }
    int SendAutoCoupling(int code) override { return ::SendAutoCoupling(code); }
    void PauseAcquisition() override { ::PauseAcquisition(); }
    void ResumeAcquisition() override { ::ResumeAcquisition(); }
    void RestartPolling() override {}
    void AcquireStep() override { ::AcquireStep(); }
    void ReadAllSettings() override { ::ReadAllSettings(); }
};

// A view without a display: what the link reads back the panel shows, as in the program.
class HeadlessView : public PanelView {
public:
    std::vector<QString> warnings;

    // The wait window's polling without the window: read until "OK", at most 60 reads.
    int RunAutoTuneWait() override {
        for (int tick = 0; tick < 60; ++tick) {
            if (ReadUpTo(8) > 0 && compareNoCase(gLink.rxBuffer, "OK", 2) == 0)
                return 1;
        }
        return 1;
    }
    void ShowWarningBox(const QString& text) override { warnings.push_back(text); }
};

} // namespace

class ControlPanelSimTest : public ::testing::Test {
protected:
    void Start(const Lines& simArgs) {
        orvel::test::EnsureQtApplication();
        port = std::make_unique<orvel::test::SimPort>(simArgs);
        // Short read time-outs: every reply is waited out, and the simulator answers at once.
        ASSERT_TRUE(port->open([this] {
            gSettings.modelIndex = modelIndex;
            gSettings.timeOutSetting = 30;
        })) << port->error();
        sim = &port->process();
        panel = std::make_unique<ControlPanel>(&view, &link);
        ui.emplace(panel.get());
        SetChangeListener([this](FieldSet changed) { panel->ShowChanged(changed); });
        panel->RebuildSpanListForModel();
        panel->FillFromSettings();
        mark = sim->received().size();
    }
    void SetUp() override { Start({}); }
    void TearDown() override {
        SetChangeListener(nullptr);
        panel.reset();
        port.reset();
    }
    // Lines the analyzer received since the last call.
    Lines Received() {
        const Lines all = sim->received();
        Lines fresh(all.begin() + static_cast<long>(mark), all.end());
        mark = all.size();
        return fresh;
    }

    int modelIndex = 0;
    std::unique_ptr<orvel::test::SimPort> port;
    SimProcess* sim = nullptr;
    InstrumentLink link;
    HeadlessView view;
    std::unique_ptr<ControlPanel> panel;
    std::optional<paneltest::PanelControls> ui;
    std::size_t mark = 0;
};

TEST_F(ControlPanelSimTest, TypedCentreGoesOutClampedOnReturn) {
    paneltest::TypeInto(ui->centerEdit, "1.5G");
    ui->centerEdit->clearFocus();
    EXPECT_TRUE(Received().empty()) << "typing or leaving the edit sends nothing";
    QTest::keyClick(ui->centerEdit, Qt::Key_Return);
    EXPECT_EQ(ui->centerEdit->text(), "1.5000G");
    Enter(ui->centerEdit, ""); // the current value again
    EXPECT_EQ(ui->centerEdit->text(), "1.5000G");
    Enter(ui->centerEdit, "9G");
    Enter(ui->centerEdit, "-5");
    Enter(ui->centerEdit, "-0");
    EXPECT_FALSE(std::signbit(gSettings.centerFreq));
    EXPECT_EQ(Received(), Lines({"FREQ1500000000.0000", "FREQ1500000000.0000",
                                 "FREQ3300000000.0000", "FREQ0.0000", "FREQ0.0000"}));
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}

TEST_F(ControlPanelSimTest, FullSpanMovesTheCentreAndDropsTenMilliseconds) {
    gSettings.sweepIndex = 0;
    panel->FillFromSettings();
    EXPECT_EQ(ui->sweepCombo->currentText(), "10ms");
    ASSERT_TRUE(Choose(ui->spanCombo, "Full"));
    EXPECT_EQ(Received(), Lines({"SPANFULL"}));
    EXPECT_EQ(ui->centerEdit->text(), "1.6500G");
    EXPECT_FALSE(ui->centerEdit->isEnabled());
    EXPECT_EQ(paneltest::Items(ui->sweepCombo).first(), "30ms");
    EXPECT_EQ(ui->sweepCombo->currentText(), "30ms");
    EXPECT_EQ(gSettings.sweepIndex, 1);
    ASSERT_TRUE(Choose(ui->spanCombo, "20M"));
    EXPECT_EQ(Received(), Lines({"SPAN20M", "FREQ?"}));
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 1.0e9) << "the analyzer's centre is read back";
    EXPECT_EQ(ui->centerEdit->text(), "1.0000G");
    EXPECT_TRUE(ui->centerEdit->isEnabled());
    EXPECT_EQ(paneltest::Items(ui->sweepCombo).first(), "10ms");
    EXPECT_EQ(ui->sweepCombo->currentText(), "30ms") << "sweepIndex itself is unchanged";
}

TEST_F(ControlPanelSimTest, ReferenceClampsInTheShownUnitAndGoesOutInDbm) {
    Enter(ui->refLevelEdit, "200");
    EXPECT_EQ(ui->refLevelEdit->text(), "10");
    EXPECT_EQ(ui->attenuatorReadout->text(), "25");
    ASSERT_TRUE(Choose(ui->unitCombo, "dBuV"));
    EXPECT_EQ(gSettings.unitIndex, 1);
    EXPECT_EQ(ui->referenceLabel->text(), "Reference(dBuV)");
    EXPECT_EQ(ui->refLevelEdit->text(), "117");
    Enter(ui->refLevelEdit, "60");
    EXPECT_EQ(ui->attenuatorReadout->text(), "S/W AMP");
    Enter(ui->refLevelEdit, "12");
    EXPECT_EQ(ui->refLevelEdit->text(), "47");
    Enter(ui->refLevelEdit, "");
    EXPECT_EQ(ui->refLevelEdit->text(), "47");
    Enter(ui->refLevelEdit, "500");
    EXPECT_EQ(Received(), Lines({"REF10", "UNITDBUV", "REF-47", "REF-60", "REF-60", "REF10"}));
    EXPECT_EQ(ui->refLevelEdit->text(), "117");
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}

TEST_F(ControlPanelSimTest, ImpedanceSendsItsOffset) {
    ASSERT_TRUE(Choose(ui->impedanceCombo, "75"));
    EXPECT_EQ(ui->offsetEdit->text(), "5.7");
    EXPECT_EQ(ui->refLevelEdit->text(), "16");
    Enter(ui->offsetEdit, "-3.46");
    EXPECT_EQ(Received(), Lines({"IMP75", "OFFSET5.7", "OFFSET-3.5"}));
    ASSERT_TRUE(Choose(ui->impedanceCombo, "50"));
    EXPECT_EQ(Received(), Lines({"IMP50", "OFFSET0.0"}));
    EXPECT_EQ(ui->offsetEdit->text(), "0.0");
}

TEST_F(ControlPanelSimTest, CalculationAndCount) {
    ASSERT_TRUE(Choose(ui->calcCombo, "Average"));
    EXPECT_EQ(Received(), Lines({"AVENO?", "CALCAVE"}));
    EXPECT_EQ(ui->countCombo->currentText(), "256");
    EXPECT_EQ(ui->countCombo->count(), 8);
    EXPECT_TRUE(ui->countCombo->isEnabled());
    ASSERT_TRUE(Choose(ui->countCombo, "16"));
    EXPECT_EQ(Received(), Lines({"AVENO16", "CALCAVE"}));
    ASSERT_TRUE(Choose(ui->calcCombo, "MaxHold"));
    EXPECT_EQ(Received(), Lines({"MAXNO?", "CALCMAX"}));
    EXPECT_EQ(ui->countCombo->currentText(), "**");
    EXPECT_EQ(paneltest::Items(ui->countCombo).mid(8), QStringList({"512", "1024", "**"}));
    ASSERT_TRUE(Choose(ui->countCombo, "1024"));
    EXPECT_EQ(Received(), Lines({"MAXNO1024", "CALCMAX"}));
    ASSERT_TRUE(Choose(ui->countCombo, "1024"));
    EXPECT_TRUE(Received().empty()) << "the same count again";
    ASSERT_TRUE(Choose(ui->calcCombo, "Normal"));
    EXPECT_EQ(ui->countCombo->currentText(), "**");
    EXPECT_FALSE(ui->countCombo->isEnabled());
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}

TEST_F(ControlPanelSimTest, AutoBandwidthFollowsTheSpan) {
    ui->rbwAutoBox->click();
    EXPECT_EQ(Received(), Lines({"RBWAUTO", "RBW?"}));
    ASSERT_TRUE(Choose(ui->spanCombo, "200M"));
    EXPECT_EQ(Received(), Lines({"SPAN200M", "RBW?"}));
    EXPECT_EQ(ui->rbwCombo->currentText(), "1M");
    ASSERT_TRUE(Choose(ui->sweepCombo, "10ms"));
    EXPECT_EQ(Received(), Lines({"SWEEP10M", "DET?", "RBW?"}));
    EXPECT_EQ(ui->detectorCombo->currentText(), "SMPL");
}

TEST_F(ControlPanelSimTest, HoldThenTheCaptureCycle) {
    ui->holdButton->click();
    EXPECT_EQ(gSettings.runState, 1);
    // "CAPT" has no reply to wait for: wait until the analyzer has it.
    ASSERT_TRUE(sim->waitForLogLine("< CAPT"));
    EXPECT_EQ(Received(), Lines({"SRSCURR", "MEASRES", "CAPT"}));
    // The capture-completion poll takes "COMP", fetches the screen and asks for the next capture
    // (its replies are collected from the event loop).
    ASSERT_TRUE(RunUntil([&] {
        CapturePollStep();
        return sim->countLogLines("< CAPT") >= 2;
    })) << "the capture cycle did not go round";
    EXPECT_EQ(Received(), Lines({"SRSCURR", "MEASRES", "CAPT"}));

    ui->holdButton->click();
    EXPECT_EQ(gSettings.runState, 0);
    ASSERT_TRUE(Choose(ui->scaleCombo, "2dB/div"));
    const Lines afterHold = Received();
    ASSERT_FALSE(afterHold.empty());
    EXPECT_EQ(afterHold.back(), "SCALE2");
    EXPECT_EQ(std::count(afterHold.begin(), afterHold.end(), "CAPT"), 0) << "held: no capture";
}

TEST_F(ControlPanelSimTest, PresetRemoteTwiceAndTheCompactRefusal) {
    panel->OnRemote();
    Enter(ui->offsetEdit, "12");
    panel->OnPreset();
    EXPECT_EQ(Received(), Lines({"REMOTEON", "OFFSET12.0", "PRESET"}));
    EXPECT_EQ(ui->offsetEdit->text(), "0.0");
    EXPECT_EQ(ui->refLevelEdit->text(), "10");
    EXPECT_TRUE(ui->sweepAutoBox->isChecked());
    EXPECT_EQ(gSettings.remoteState, 1);
    panel->OnRemote();
    EXPECT_EQ(Received(), Lines({"REMOTEOFF"}));
    EXPECT_FALSE(panel->RemoteChecked());

    gSettings.compactMode = 1;
    panel->OnPreset();
    panel->OnAutoTuneMenu();
    panel->OnHoldRunMenu();
    ui->holdButton->click();
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(gSettings.runState, 0);
    EXPECT_FALSE(ui->holdButton->isChecked());
    ASSERT_EQ(view.warnings.size(), 3u);
    EXPECT_EQ(view.warnings[0], "When a window is small it is not able to use it.");
    panel->OnRemote();
    EXPECT_EQ(Received(), Lines({"REMOTEON"})) << "Remote works in a small window";
}

class ControlPanelSimAutoTuneTest : public ControlPanelSimTest {
protected:
    // Tuning outlasts the "AUTO" transaction's read, so the "OK" comes to the wait window.
    void SetUp() override { Start({"--auto-ms", "1000", "--signal", "1.2G:-20"}); }
};

TEST_F(ControlPanelSimAutoTuneTest, AutoTuneWaitsForTheAnalyzerAndCouplesEverything) {
    ui->autoTuneButton->click();
    const Lines lines = Received();
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines.front(), "AUTO");
    const Lines tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, Lines({"RBWAUTO", "RBW?", "VBWAUTO", "VBW?", "SWEEPAUTO", "SWEEP?", "SRSCURR",
                           "MEASRES"}));
    EXPECT_EQ(ui->spanCombo->currentText(), "20M");
    EXPECT_NEAR(gSettings.centerFreq, 1.2e9, 1e7);
    EXPECT_TRUE(ui->rbwAutoBox->isChecked());
    EXPECT_EQ(ui->autoTuneButton->text(), "Auto Tune");
}

TEST_F(ControlPanelSimTest, WhateverIsTypedTheAnalyzerOnlySeesClampedValues) {
    const QString alphabet = QStringLiteral("0123456789.,-+eEkKmMgGtTpPnNuU x");
    std::mt19937 random(2024);
    for (int round = 0; round < 8; ++round)
        paneltest::PasteRandomText(*ui, random, alphabet, 24);
    EXPECT_EQ(sim->countLogLines("> ERR"), 0) << "the analyzer refused a value";
    struct Range {
        std::string command;
        double lo, hi;
    };
    for (const std::string& line : Received())
        for (const Range& r :
             {Range{"FREQ", 0, 3.3e9}, Range{"REF", -60, 10}, Range{"OFFSET", -50, 50}})
            if (line.starts_with(r.command)) {
                double value = 0.0;
                parseSI(line.c_str() + r.command.size(), &value);
                EXPECT_GE(value, r.lo) << line;
                EXPECT_LE(value, r.hi) << line;
            }
}

class ControlPanelSim420Test : public ControlPanelSimTest {
protected:
    void SetUp() override {
        modelIndex = 1;
        Start({"--model", "420"});
    }
};

TEST_F(ControlPanelSim420Test, FiveGigAndFullKeepTenMillisecondsOut) {
    ASSERT_EQ(ui->spanCombo->count(), 16);
    EXPECT_EQ(paneltest::Items(ui->spanCombo).mid(13), QStringList({"2G", "5G", "FULL"}));
    ASSERT_TRUE(Choose(ui->spanCombo, "5G"));
    EXPECT_TRUE(ui->centerEdit->isEnabled());
    EXPECT_EQ(paneltest::Items(ui->sweepCombo).first(), "30ms");
    ASSERT_TRUE(Choose(ui->spanCombo, "FULL"));
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 4.25e9);
    EXPECT_EQ(ui->centerEdit->text(), "4.2500G");
    ASSERT_TRUE(Choose(ui->spanCombo, "5G"));
    EXPECT_TRUE(ui->centerEdit->isEnabled());
    EXPECT_EQ(paneltest::Items(ui->sweepCombo).first(), "30ms");
    ASSERT_TRUE(Choose(ui->sweepCombo, "30ms"));
    ASSERT_TRUE(Choose(ui->spanCombo, "2G"));
    EXPECT_EQ(paneltest::Items(ui->sweepCombo).first(), "10ms");
    Enter(ui->centerEdit, "9G");
    const Lines lines = Received();
    EXPECT_EQ(lines, Lines({"SPAN5G", "SPANFULL", "SPAN5G", "FREQ?", "SWEEP30M", "DET?", "SPAN2G",
                            "FREQ8500000000.0000"}));
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}
