// The panel against the simulated analyzer; the simulator's wire log judges what was sent.

#include "link_for_panel.h"
#include "panel_test_support.h"
#include "panel_view.h"
#include "sim_port.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using orvel::test::SimProcess;
using Lines = std::vector<std::string>;

namespace {

// A view without a display: what the link reads back the panel shows, as in the program.
struct HeadlessView : PanelView {
    int RunAutoTuneWait() override { return 1; }
    void ShowWarningBox(const QString&) override {}
};

} // namespace

class ControlPanelSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvel::test::EnsureQtApplication();
        port = std::make_unique<orvel::test::SimPort>();
        // Short read time-outs: every reply is waited out, and the simulator answers at once.
        ASSERT_TRUE(port->open([] { gSettings.timeOutSetting = 30; })) << port->error();
        sim = &port->process();
        panel = std::make_unique<ControlPanel>(&view, &link);
        ui.emplace(panel.get());
        SetChangeListener([this](FieldSet changed) { panel->ShowChanged(changed); });
        panel->RebuildSpanListForModel();
        panel->FillFromSettings();
        mark = sim->received().size();
    }
    void TearDown() override { SetChangeListener(nullptr); } // the panel goes before the port
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

    std::unique_ptr<orvel::test::SimPort> port;
    SimProcess* sim = nullptr;
    LinkForPanel link; // the program's own; without a poller nothing restarts
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
    EXPECT_EQ(std::tuple(ui->centerEdit->isEnabled(), paneltest::Items(ui->sweepCombo).first(),
                         gSettings.sweepIndex),
              std::tuple(false, "30ms", 1));
    Walk({{"spanCombo", "20M", {"SPAN20M", "FREQ?"}, {{"centerEdit", "1.0000G"}, {"sweepCombo", "30ms"}}}});
    EXPECT_EQ(std::tuple(gSettings.centerFreq, ui->centerEdit->isEnabled(),
                         paneltest::Items(ui->sweepCombo).first()),
              std::tuple(1.0e9, true, "10ms"));

    // The impedance sends its offset; the offset clamps, moves its spin and the reference's range.
    Walk({{"impedanceCombo", "75", {"IMP75", "OFFSET5.7"}, {{"offsetEdit", "5.7"}, {"refLevelEdit", "16"}}},
          {"offsetEdit", "-3.46", {"OFFSET-3.5"}, {}},
          {"offsetEdit", "-1e999", {"OFFSET-50.0"}, {{"offsetEdit", "-50.0"}, {"offsetSpin", "0"}}},
          {"offsetEdit", "60", {"OFFSET50.0"}, {{"offsetEdit", "50.0"}, {"offsetSpin", "1000"}, {"refLevelEdit", "60"}}},
          {"offsetEdit", "2.34", {"OFFSET2.3"}, {{"offsetSpin", "523"}}}});
    EXPECT_EQ(gSettings.levelOffset, 2.3) << "the stored offset is the one shown and sent";
    Walk({{"offsetEdit", "-0.04", {"OFFSET0.0"}, {{"offsetEdit", "0.0"}}},
          {"offsetEdit", "-20.4", {"OFFSET-20.4"}, {{"refLevelEdit", "-10"}}},
          {"refLevelEdit", "100", {"REF10"}, {{"refLevelEdit", "-10"}}},
          {"refLevelEdit", "-500", {"REF-60"}, {{"refLevelEdit", "-80"}}},
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

    // The reference clamps in the shown unit and goes out in dBm; held, a change sends no capture.
    // clang-format off
    Walk({{"scaleCombo", "2dB/div", {"SCALE2"}, {}},
          {"refLevelEdit", "200", {"REF10"}, {{"refLevelEdit", "10"}, {"attenuatorReadout", "25"}}},
          {"unitCombo", "dBuV", {"UNITDBUV"}, {{"referenceLabel", "Reference(dBuV)"}, {"refLevelEdit", "117"}}},
          {"refLevelEdit", "60", {"REF-47"}, {{"attenuatorReadout", "S/W AMP"}}},
          {"refLevelEdit", "12", {"REF-60"}, {{"refLevelEdit", "47"}}},
          {"refLevelEdit", "", {"REF-60"}, {{"refLevelEdit", "47"}}},
          {"refLevelEdit", "500", {"REF10"}, {{"refLevelEdit", "117"}}},
          {"refLevelEdit", "1e400", {"REF10"}, {{"refLevelEdit", "117"}}}});
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
          {"centerEdit", QString(100, QChar('9')), {"FREQ3300000000.0000"}, {{"centerEdit", "3.3000G"}}},
          {"centerEdit", "-5", {"FREQ0.0000"}, {}},
          {"centerEdit", "+-e5G", {"FREQ0.0000"}, {}},
          {"centerEdit", "-0", {"FREQ0.0000"}, {}}});
    // clang-format on
    EXPECT_FALSE(std::signbit(gSettings.centerFreq));
    EXPECT_EQ(sim->countLogLines("> ERR"), 0);
}
