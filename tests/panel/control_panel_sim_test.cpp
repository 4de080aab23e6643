// The panel against the simulated analyzer; the simulator's wire log judges what was sent.

#include "acquisition.h"
#include "all_settings.h"
#include "command_set.h"
#include "event_loop_wait.h"
#include "link_state.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_test_support.h"
#include "panel_view.h"
#include "recording_panel_host.h"
#include "sim_port.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
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

    void Walk(const std::vector<paneltest::Step>& steps) {
        paneltest::Walk(panel.get(), steps, [this] { return Received(); });
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

// One analyzer for the controls in turn: each section starts where the one before left it.
TEST_F(ControlPanelSimTest, EachControlGoesOutAsTheAnalyzerTakesIt) {
    // Full span moves the centre and drops 10 ms; leaving it reads the analyzer's centre back.
    gSettings.sweepIndex = 0;
    panel->FillFromSettings();
    EXPECT_EQ(ui->sweepCombo->currentText(), "10ms");
    // clang-format off
    Walk({{"spanCombo", "Full", {"SPANFULL"}, {{"centerEdit", "1.6500G"}, {"sweepCombo", "30ms"}}}});
    // clang-format on
    EXPECT_EQ(std::tuple(ui->centerEdit->isEnabled(), paneltest::Items(ui->sweepCombo).first(),
                         gSettings.sweepIndex),
              std::tuple(false, "30ms", 1));
    // clang-format off
    Walk({{"spanCombo", "20M", {"SPAN20M", "FREQ?"}, {{"centerEdit", "1.0000G"}, {"sweepCombo", "30ms"}}}});
    // clang-format on
    EXPECT_EQ(std::tuple(gSettings.centerFreq, ui->centerEdit->isEnabled(),
                         paneltest::Items(ui->sweepCombo).first()),
              std::tuple(1.0e9, true, "10ms"));

    // The impedance sends its offset.
    // clang-format off
    Walk({{"impedanceCombo", "75", {"IMP75", "OFFSET5.7"}, {{"offsetEdit", "5.7"}, {"refLevelEdit", "16"}}},
          {"offsetEdit", "-3.46", {"OFFSET-3.5"}, {}},
          {"impedanceCombo", "50", {"IMP50", "OFFSET0.0"}, {{"offsetEdit", "0.0"}}}});
    // clang-format on

    // Calculation and count; the same count again sends nothing.
    Walk({{"calcCombo", "Average", {"AVENO?", "CALCAVE"}, {{"countCombo", "256"}}}});
    EXPECT_EQ(std::tuple(ui->countCombo->count(), ui->countCombo->isEnabled()),
              std::tuple(8, true));
    Walk({{"countCombo", "16", {"AVENO16", "CALCAVE"}, {}},
          {"calcCombo", "MaxHold", {"MAXNO?", "CALCMAX"}, {{"countCombo", "**"}}}});
    EXPECT_EQ(paneltest::Items(ui->countCombo).mid(8), QStringList({"512", "1024", "**"}));
    Walk({{"countCombo", "1024", {"MAXNO1024", "CALCMAX"}, {}},
          {"countCombo", "1024", {}, {}},
          {"calcCombo", "Normal", {"CALCOFF"}, {{"countCombo", "**"}}}});
    EXPECT_FALSE(ui->countCombo->isEnabled());

    // The reference clamps in the shown unit and goes out in dBm.
    // clang-format off
    Walk({{"refLevelEdit", "200", {"REF10"}, {{"refLevelEdit", "10"}, {"attenuatorReadout", "25"}}},
          {"unitCombo", "dBuV", {"UNITDBUV"}, {{"referenceLabel", "Reference(dBuV)"}, {"refLevelEdit", "117"}}},
          {"refLevelEdit", "60", {"REF-47"}, {{"attenuatorReadout", "S/W AMP"}}},
          {"refLevelEdit", "12", {"REF-60"}, {{"refLevelEdit", "47"}}},
          {"refLevelEdit", "", {"REF-60"}, {{"refLevelEdit", "47"}}},
          {"refLevelEdit", "500", {"REF10"}, {{"refLevelEdit", "117"}}}});
    // clang-format on
    EXPECT_EQ(gSettings.unitIndex, 1);

    // The automatic bandwidth follows the span.
    ui->rbwAutoBox->click();
    EXPECT_EQ(Received(), Lines({"RBWAUTO", "RBW?"}));
    Walk({{"spanCombo", "200M", {"SPAN200M", "RBW?"}, {{"rbwCombo", "1M"}}},
          {"sweepCombo", "10ms", {"SWEEP10M", "DET?", "RBW?"}, {{"detectorCombo", "SMPL"}}}});

    // A typed centre goes out clamped on Return, and only then.
    paneltest::TypeInto(ui->centerEdit, "1.5G");
    ui->centerEdit->clearFocus();
    EXPECT_TRUE(Received().empty()) << "typing or leaving the edit sends nothing";
    Walk({{"centerEdit", "1.5G", {"FREQ1500000000.0000"}, {{"centerEdit", "1.5000G"}}},
          {"centerEdit", "", {"FREQ1500000000.0000"}, {{"centerEdit", "1.5000G"}}},
          {"centerEdit", "9G", {"FREQ3300000000.0000"}, {}},
          {"centerEdit", "-5", {"FREQ0.0000"}, {}},
          {"centerEdit", "-0", {"FREQ0.0000"}, {}}});
    EXPECT_FALSE(std::signbit(gSettings.centerFreq));
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}

TEST_F(ControlPanelSimTest, HoldThenTheCaptureCycle) {
    ui->holdButton->click();
    EXPECT_EQ(gSettings.runState, 1);
    // "CAPT" has no reply to wait for: wait until the analyzer has it.
    ASSERT_TRUE(sim->waitForLogLine("< CAPT"));
    EXPECT_EQ(Received(), Lines({"SRSCURR", "MEASRES", "CAPT"}));
    // The completion poll takes "COMP", fetches the screen and asks for the next capture.
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
    panel->OnRemote();
    EXPECT_EQ(std::tuple(Received(), panel->RemoteChecked()),
              std::tuple(Lines({"REMOTEOFF"}), false));

    gSettings.compactMode = 1;
    panel->OnPreset();
    panel->OnAutoTuneMenu();
    panel->OnHoldRunMenu();
    ui->holdButton->click();
    EXPECT_EQ(std::tuple(Received(), gSettings.runState, ui->holdButton->isChecked()),
              std::tuple(Lines(), 0, false));
    EXPECT_EQ(view.warnings,
              std::vector<QString>(3, "When a window is small it is not able to use it."));
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
    EXPECT_NEAR(gSettings.centerFreq, 1.2e9, 1e7);
    EXPECT_EQ(std::tuple(ui->spanCombo->currentText(), ui->rbwAutoBox->isChecked(),
                         ui->autoTuneButton->text()),
              std::tuple("20M", true, "Auto Tune"));
}

// Whatever is pasted, the record and the text it would send stay in the analyzer's ranges and
// forms.
TEST(ControlPanelTypedText, AnyTypedTextGoesOutWithinTheClampedRanges) {
    orvel::test::EnsureQtApplication();
    SetDefaultSettings();
    RecordingPanelHost host;
    ControlPanel panel(&host, &host);
    host.panel = &panel;
    const paneltest::PanelControls ui(&panel);
    panel.RebuildSpanListForModel();
    panel.FillFromSettings();
    struct Range {
        int code;
        double value, lo, hi;
        const char* form;
    };
    const QString alphabet = QStringLiteral("0123456789.,-+eEkKmMgGtTpPnNuU x?\xe9\x00b5");
    std::mt19937 random(12345);
    for (int round = 0; round <= 150; ++round) {
        QString text = QString(5000, QChar('9')); // the last round: far past what an edit shows
        if (round < 150) {
            text.clear();
            for (unsigned length = random() % 70u; length > 0; --length)
                text += alphabet[static_cast<int>(random() % alphabet.size())];
        }
        for (QLineEdit* edit : {ui.centerEdit, ui.refLevelEdit, ui.offsetEdit}) {
            edit->setText(text);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        for (const Range& r :
             {Range{cmd::kFreq, gSettings.centerFreq, 0, 3.3e9, "FREQ-?\\d+\\.\\d{4}"},
              Range{cmd::kRef, double(gSettings.refLevel), -60, 10, "REF-?\\d+"},
              Range{cmd::kOffset, gSettings.levelOffset, -50, 50, "OFFSET-?\\d+\\.\\d"}}) {
            char line[64];
            ASSERT_GT(BuildCommandText(r.code, line, sizeof line), 0);
            const std::string wire(line);
            const QRegularExpression form(QStringLiteral("^%1\r\n$").arg(QLatin1String(r.form)));
            ASSERT_TRUE(form.match(QString::fromStdString(wire)).hasMatch()) << wire;
            double sent = 0.0;
            parseSI(wire.c_str() + wire.find_first_of("-0123456789"), &sent);
            for (double v : {r.value, sent}) {
                ASSERT_GE(v, r.lo) << text.toStdString() << " " << wire;
                ASSERT_LE(v, r.hi) << text.toStdString() << " " << wire;
            }
        }
    }
    EXPECT_LE(ui.centerEdit->text().size(), 64);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 3.3e9);
}

class ControlPanelSim420Test : public ControlPanelSimTest {
protected:
    void SetUp() override {
        modelIndex = 1;
        Start({"--model", "420"});
    }
};

TEST_F(ControlPanelSim420Test, FiveGigAndFullKeepTenMillisecondsOut) {
    const auto centreAndFastest = [this] {
        return std::tuple(ui->centerEdit->isEnabled(), paneltest::Items(ui->sweepCombo).first());
    };
    Walk({{"spanCombo", "5G", {"SPAN5G"}, {}}});
    EXPECT_EQ(centreAndFastest(), std::tuple(true, "30ms"));
    Walk({{"spanCombo", "FULL", {"SPANFULL"}, {{"centerEdit", "4.2500G"}}}});
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 4.25e9);
    Walk({{"spanCombo", "5G", {"SPAN5G", "FREQ?"}, {}}});
    EXPECT_EQ(centreAndFastest(), std::tuple(true, "30ms"));
    Walk({{"sweepCombo", "30ms", {"SWEEP30M", "DET?"}, {}}, {"spanCombo", "2G", {"SPAN2G"}, {}}});
    EXPECT_EQ(paneltest::Items(ui->sweepCombo).first(), "10ms");
    Walk({{"centerEdit", "9G", {"FREQ8500000000.0000"}, {}}});
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}
