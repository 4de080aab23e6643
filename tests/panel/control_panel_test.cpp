// The panel through its widgets with a host recording the traffic; value rules no one can type.

#include "command_codes.h"
#include "command_set.h"
#include "field_changes.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_rules.h"
#include "panel_test_support.h"
#include "panel_view.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <tuple>
#include <utility>

using paneltest::Choose;
using paneltest::Enter;
using paneltest::Items;
using Traffic = std::vector<std::string>;

// A panel host without an analyzer: records calls and changes in order, answers from tables.
class RecordingPanelHost : public PanelLink, public PanelView {
public:
    // What the panel announces is recorded as "changed <field>".
    RecordingPanelHost() {
        SetChangeListener([this](FieldSet changed) {
            for (const auto& [field, name] : kNames)
                if (changed.Any(field))
                    events.push_back(std::string("changed ") + name);
        });
    }
    ~RecordingPanelHost() override { SetChangeListener(nullptr); }
    static constexpr std::pair<Field, const char*> kNames[] = {
        {Field::CenterFreq, "centre"}, {Field::Span, "span"},      {Field::Sweep, "sweep"},
        {Field::Unit, "unit"},         {Field::Scale, "scale"},    {Field::MarkerMode, "marker"},
        {Field::Measure, "measure"},   {Field::TraceView, "view"}, {Field::TraceSlots, "slots"},
        {Field::Defaults, "defaults"}};

    std::vector<std::string> events;
    std::map<int, std::function<void()>> queryEffects; // code -> what the reply decodes to
    std::set<std::string> refused;                     // events answered "ERR"
    int autoTuneWaitResult = 1;
    ControlPanel* panel = nullptr;

    int SendCommand(int code) override {
        events.push_back("cmd " + std::to_string(code));
        if (auto it = queryEffects.find(code); it != queryEffects.end())
            it->second();
        return refused.count(events.back()) != 0 ? 0 : 1;
    }
    int SendAutoCoupling(int code) override {
        const std::string line = code == cmd::kRbw   ? "RBWAUTO"
                                 : code == cmd::kVbw ? "VBWAUTO"
                                                     : "SWEEPAUTO";
        events.push_back("raw " + line);
        return refused.count(events.back()) != 0 ? 0 : 1;
    }
    void PauseAcquisition() override { events.push_back("pause"); }
    void ResumeAcquisition() override { events.push_back("resume"); }
    void RestartPolling() override { events.push_back("restart"); }

    void AcquireStep() override { events.push_back("acquire"); }
    void ReadAllSettings() override {
        events.push_back("read all");
        if (panel)
            panel->FillFromSettings();
    }

    int RunAutoTuneWait() override {
        events.push_back("wait");
        return autoTuneWaitResult;
    }
    void ShowWarningBox(const QString& text) override {
        events.push_back("warning " + text.toStdString());
    }

    // Only the wire-relevant events (commands, raw lines), for comparing sequences.
    std::vector<std::string> traffic() const {
        std::vector<std::string> out;
        std::copy_if(events.begin(), events.end(), std::back_inserter(out),
                     [](auto& e) { return e.rfind("cmd ", 0) == 0 || e.rfind("raw ", 0) == 0; });
        return out;
    }
    bool has(const std::string& event) const {
        return std::find(events.begin(), events.end(), event) != events.end();
    }
};

class ControlPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvel::test::EnsureQtApplication();
        SetDefaultSettings();
        panel = std::make_unique<ControlPanel>(&host, &host);
        ui.emplace(panel.get());
        host.panel = panel.get();
        panel->RebuildSpanListForModel();
        panel->FillFromSettings();
        host.events.clear();
    }

    // The traffic since the last call.
    Traffic Sent() {
        const Traffic sent = host.traffic();
        host.events.clear();
        return sent;
    }
    // Every event since the last call.
    Traffic Events() { return std::exchange(host.events, {}); }
    // The run state as the record and the hold button show it.
    std::tuple<int, bool, QString> Hold() const {
        return {s.runState, ui->holdButton->isChecked(), ui->holdButton->text()};
    }
    void Walk(const std::vector<paneltest::Step>& steps) {
        paneltest::Walk(panel.get(), steps, [this] { return Sent(); });
    }

    RecordingPanelHost host;
    std::unique_ptr<ControlPanel> panel;
    std::optional<paneltest::PanelControls> ui;
    InstrumentSettings& s = gSettings;
};

TEST_F(ControlPanelTest, UnchangedSelectionsDoNothingAndChangesAreAnnouncedOnceSent) {
    for (QComboBox* combo : panel->findChildren<QComboBox*>())
        emit combo->activated(combo->currentIndex());
    EXPECT_TRUE(host.events.empty());
    Enter(ui->centerEdit, "2G");
    EXPECT_EQ(Events(), Traffic({"pause", "cmd 100", "changed centre", "resume"}));
    ASSERT_TRUE(Choose(ui->unitCombo, "dBuV"));
    EXPECT_EQ(Events(), Traffic({"pause", "cmd 103", "changed unit", "resume"}));
}

TEST_F(ControlPanelTest, ModelChangeLowersAFullSpanAndRebuildsTheLists) {
    ASSERT_TRUE(Choose(ui->spanCombo, "Full"));
    host.events.clear();
    s.modelIndex = 1;
    panel->RebuildSpanListForModel();
    EXPECT_EQ(std::tuple(s.spanIndex, host.traffic(), ui->spanCombo->currentText(),
                         ui->centerEdit->isEnabled(), Items(ui->sweepCombo).first()),
              std::tuple(13, Traffic({"cmd 101"}), "2G", true, "10ms"));
    panel->RebuildSpanListForModel();
    EXPECT_EQ(ui->spanCombo->count(), 16);
    // The frequency counter drops the fast sweeps and the full span.
    const auto lists = [this] {
        return std::tuple(Items(ui->sweepCombo).first(), ui->sweepCombo->currentText(),
                          Items(ui->spanCombo).mid(13));
    };
    panel->SetFrequencyCounterLists(true);
    EXPECT_EQ(lists(), std::tuple("0.1s", "0.1s", QStringList({"2G", "5G"})));
    ASSERT_TRUE(Choose(ui->sweepCombo, "1s"));
    EXPECT_EQ(std::tuple(s.sweepIndex, Sent()), std::tuple(4, Traffic({"cmd 101", "cmd 128"})));
    panel->SetFrequencyCounterLists(false);
    EXPECT_EQ(lists(), std::tuple("10ms", "1s", QStringList({"2G", "5G", "FULL"})));
    // Neither 5G nor FULL has 10 ms; leaving FULL reads the centre back.
    const auto centreAndFastest = [this] {
        return std::tuple(ui->centerEdit->isEnabled(), Items(ui->sweepCombo).first());
    };
    Walk({{"spanCombo", "5G", {"cmd 101"}, {}}});
    EXPECT_EQ(centreAndFastest(), std::tuple(true, "30ms"));
    Walk({{"spanCombo", "FULL", {"cmd 101"}, {{"centerEdit", "4.2500G"}}}});
    EXPECT_EQ(centreAndFastest(), std::tuple(false, "30ms"));
    Walk({{"spanCombo", "5G", {"cmd 101", "cmd 200"}, {}}});
    EXPECT_EQ(centreAndFastest(), std::tuple(true, "30ms"));
    // Without 10 ms the first position is 30 ms; crossing 0.1 s either way reads the detector back.
    Walk({{"sweepCombo", "3s", {"cmd 128"}, {}}});
    EXPECT_EQ(s.sweepIndex, 5);
    ASSERT_TRUE(Choose(ui->sweepCombo, "30ms"));
    EXPECT_TRUE(host.has("restart")) << "the polling period follows the sweep";
    EXPECT_EQ(std::tuple(s.sweepIndex, Sent()), std::tuple(1, Traffic({"cmd 128", "cmd 226"})));
    Walk({{"sweepCombo", "1s", {"cmd 128", "cmd 226"}, {}},
          {"sweepCombo", "30ms", {"cmd 128", "cmd 226"}, {}},
          {"spanCombo", "2G", {"cmd 101"}, {}}});
    EXPECT_EQ(Items(ui->sweepCombo).first(), "10ms");
    Walk({{"centerEdit", "9G", {"cmd 100"}, {{"centerEdit", "8.5000G"}}}});
    s.modelIndex = 0;
    panel->RebuildSpanListForModel();
    EXPECT_EQ(std::tuple(Items(ui->spanCombo).last(), ui->spanCombo->count(), s.spanIndex,
                         centreAndFastest()),
              std::tuple("Full", 15, 13, std::tuple(true, "10ms")));
}

TEST_F(ControlPanelTest, HoldButtonAndMenuStartAndStopAcquisition) {
    const std::tuple<int, bool, QString> held(0, false, "Hold"), running(1, true, "Run");
    QSignalSpy changes(panel.get(), &ControlPanel::runStateChanged);
    ui->holdButton->click();
    EXPECT_EQ(std::tuple(Hold(), Events()),
              std::tuple(running, Traffic({"acquire", "restart", "resume"})));
    ui->holdButton->click();
    EXPECT_EQ(std::tuple(Hold(), Events(), changes.count()),
              std::tuple(held, Traffic({"pause"}), 2));
    s.calcIndex = 3;
    ui->holdButton->click();
    EXPECT_EQ(host.traffic(), Traffic({"cmd 131"}));

    // The menu toggles too; SetHeld stops without traffic.
    ui->holdButton->click();
    changes.clear();
    panel->OnHoldRunMenu();
    EXPECT_EQ(Hold(), running);
    host.events.clear();
    panel->SetHeld();
    EXPECT_EQ(std::tuple(Hold(), host.events, changes.count()), std::tuple(held, Traffic(), 2));

    // The small window refuses Preset, Auto Tune and Hold/Run; its hold button stays up.
    s.compactMode = 1;
    panel->OnPreset();
    panel->OnAutoTuneMenu();
    panel->OnHoldRunMenu();
    ui->holdButton->click();
    EXPECT_EQ(
        std::tuple(Events(), Hold()),
        std::tuple(Traffic(3, "warning When a window is small it is not able to use it."), held));
    // Remote is not refused there; on and off each wait out a pending capture.
    panel->OnRemote();
    panel->OnRemote();
    EXPECT_EQ(std::tuple(Events(), s.remoteState),
              std::tuple(Traffic({"pause", "cmd 146", "resume", "pause", "cmd 146", "resume"}), 0));
}

TEST_F(ControlPanelTest, AutoBoxesReadBackCoupledSettingsAndRefusalsChangeNothingElse) {
    host.queryEffects[204] = [] { gSettings.rbwIndex = 5; };
    host.queryEffects[225] = [] { gSettings.sweepIndex = 6; };
    ui->rbwAutoBox->click();
    EXPECT_EQ(std::tuple(Sent(), ui->rbwCombo->currentText()),
              std::tuple(Traffic({"raw RBWAUTO", "cmd 204"}), "1M"));
    ui->sweepAutoBox->click();
    EXPECT_EQ(ui->sweepCombo->currentText(), "10s");
    host.events.clear();
    Walk({{"vbwCombo", "1k", {"cmd 105", "cmd 204", "cmd 225"}, {}}});
    EXPECT_EQ(s.vbwIndex, 2);
    Walk({{"rbwCombo", "3k", {"cmd 104", "cmd 225"}, {}}});
    EXPECT_FALSE(ui->rbwAutoBox->isChecked()) << "choosing a bandwidth ends its auto";
    ui->rbwAutoBox->click(); // checked again
    ui->rbwAutoBox->click(); // unchecked: nothing is sent
    EXPECT_EQ(Sent(), Traffic({"raw RBWAUTO", "cmd 204"}));
    // A refused auto box leaves the list and stays checked; a refused impedance sends no offset.
    host.refused.insert("raw VBWAUTO");
    ui->vbwAutoBox->click();
    EXPECT_EQ(std::tuple(ui->vbwAutoBox->isChecked(), Sent(), ui->vbwCombo->currentText()),
              std::tuple(true, Traffic({"raw VBWAUTO"}), "1k"));
    ASSERT_TRUE(Choose(ui->impedanceCombo, "75"));
    host.events.clear();
    host.refused.insert("cmd 150");
    Walk({{"impedanceCombo", "50", {"cmd 150"}, {{"offsetEdit", "0.0"}}}});
    EXPECT_EQ(s.levelOffset, 0.0);
}

TEST_F(ControlPanelTest, SpinsChangeTheRecordButSendNothing) {
    ui->refLevelSpin->stepDown();
    EXPECT_EQ(std::tuple(s.refLevel, ui->refLevelEdit->text()), std::tuple(9, "9"));
    ui->refLevelSpin->stepUp();
    ui->refLevelSpin->stepUp();
    EXPECT_EQ(std::tuple(s.refLevel, ui->refLevelEdit->text()), std::tuple(10, "10"))
        << "clamped to the unit's range";
    ui->offsetSpin->stepUp();
    EXPECT_DOUBLE_EQ(s.levelOffset, 0.1);
    EXPECT_EQ(std::tuple(ui->offsetEdit->text(), host.traffic()), std::tuple("0.1", Traffic()));
}

TEST_F(ControlPanelTest, CalculationRestartsPollingAndTheRunningAnalyzer) {
    host.queryEffects[223] = [] { gSettings.aveCount = 1024; };
    ASSERT_TRUE(Choose(ui->calcCombo, "Average"));
    EXPECT_EQ(std::tuple(ui->countCombo->currentText(), host.has("restart")),
              std::tuple("256", true))
        << "a count past the list shows its end";
    host.events.clear();
    s.runState = 1;
    ASSERT_TRUE(Choose(ui->calcCombo, "MinHold"));
    EXPECT_EQ(host.traffic(), Traffic({"cmd 222", "cmd 123", "cmd 131"}));
}

TEST_F(ControlPanelTest, AutoTuneStopsTheLoopWaitsAndReadsEverythingBackUnlessCancelled) {
    host.autoTuneWaitResult = 2;
    ui->autoTuneButton->click();
    EXPECT_EQ(std::tuple(host.traffic(), ui->rbwAutoBox->isChecked(), ui->autoTuneButton->text(),
                         ui->autoTuneButton->isChecked()),
              std::tuple(Traffic({"cmd 130"}), false, "Auto Tune", false))
        << "cancelled: nothing read back";
    host.autoTuneWaitResult = 1;
    ui->holdButton->click();
    host.events.clear();
    host.queryEffects[204] = [] { gSettings.rbwIndex = 1; };
    ui->autoTuneButton->click();
    EXPECT_EQ(Hold(), std::tuple(0, false, "Hold"));
    EXPECT_EQ(std::tuple(host.has("read all"), host.has("acquire"), ui->rbwCombo->currentText(),
                         ui->rbwAutoBox->isChecked(), ui->vbwAutoBox->isChecked(),
                         ui->sweepAutoBox->isChecked(), ui->autoTuneButton->isChecked(),
                         ui->autoTuneButton->text()),
              std::tuple(true, true, "10k", true, true, true, false, "Auto Tune"));
    EXPECT_EQ(host.events.front(), "pause") << "a pending capture is quieted first";
}

TEST_F(ControlPanelTest, PresetResetsTheAnalyzerSettingsButNotTheProgramsOwn) {
    Enter(ui->offsetEdit, "7.5");
    Enter(ui->refLevelEdit, "-20");
    ASSERT_TRUE(Choose(ui->calcCombo, "Average"));
    ASSERT_TRUE(Choose(ui->spanCombo, "Full"));
    ui->holdButton->click();
    const auto own = std::tuple(1, 3, 1, 0x123456u); // the program's own settings, its port too
    std::tie(s.remoteState, s.comPortIndex, s.baudIndex, s.traceColor[2]) = own;
    host.events.clear();

    panel->OnPreset();
    ASSERT_FALSE(host.events.empty());
    EXPECT_EQ(std::tuple(host.events.front(), host.events.back(), host.has("changed measure")),
              std::tuple("pause", "resume", true));
    paneltest::ExpectShown(panel.get(), {{"attenuatorReadout", "25"},
                                         {"centerEdit", "1.0000G"},
                                         {"spanCombo", "20M"},
                                         {"sweepCombo", "0.1s"},
                                         {"countCombo", "**"},
                                         {"holdButton", "Hold"},
                                         {"offsetEdit", "0.0"},
                                         {"refLevelEdit", "10"}});
    // The three auto boxes checked, the hold button not.
    EXPECT_EQ(std::tuple(ui->centerEdit->isEnabled(), Items(ui->sweepCombo).first(),
                         ui->countCombo->count(), ui->countCombo->isEnabled(),
                         ui->rbwAutoBox->isChecked(), ui->vbwAutoBox->isChecked(),
                         ui->sweepAutoBox->isChecked(), ui->holdButton->isChecked(), s.runState),
              std::tuple(true, "10ms", 11, false, true, true, true, false, 0));
    EXPECT_EQ(std::tuple(s.remoteState, s.comPortIndex, s.baudIndex, s.traceColor[2]), own);
}

// Whatever is pasted, the record and the text it would send stay in the analyzer's ranges and
// forms.
TEST_F(ControlPanelTest, AnyTypedTextGoesOutWithinTheClampedRanges) {
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
        for (QLineEdit* edit : {ui->centerEdit, ui->refLevelEdit, ui->offsetEdit}) {
            edit->setText(text); // pasted: keyClicks takes no such characters
            QTest::keyClick(edit, Qt::Key_Return);
        }
        for (const Range& r : {Range{cmd::kFreq, s.centerFreq, 0, 3.3e9, "FREQ-?\\d+\\.\\d{4}"},
                               Range{cmd::kRef, double(s.refLevel), -60, 10, "REF-?\\d+"},
                               Range{cmd::kOffset, s.levelOffset, -50, 50, "OFFSET-?\\d+\\.\\d"}}) {
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
    EXPECT_LE(ui->centerEdit->text().size(), 64);
    EXPECT_DOUBLE_EQ(s.centerFreq, 3.3e9);
}

namespace {
using namespace panelrules;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(PanelRules, NonFiniteAndHugeValuesClampAndCountsFindTheirListPosition) {
    EXPECT_EQ(ClampCenterFreq(kNaN, 0), 0.0);
    EXPECT_EQ(ClampCenterFreq(kInf, 1), 8.5e9);
    const ReferenceRange dBm = ReferenceRangeFor(0, 0.0);
    EXPECT_EQ(ClampReference(1e300, dBm), 10);
    EXPECT_EQ(ClampReference(kNaN, dBm), -60);
    EXPECT_EQ(ClampReference(-3.9, dBm), -3) << "truncates toward zero";
    EXPECT_EQ(ReferenceRangeFor(0, -0.5).lo, -61) << "-0.5 rounds away from zero";
    // Offsets beyond the panel's range count as its ends.
    for (double offset : {1e300, kInf, 2147483647.0}) {
        EXPECT_EQ(std::pair(ReferenceRangeFor(0, offset).lo, ReferenceRangeFor(0, offset).hi),
                  std::pair(-10, 60));
        EXPECT_EQ(ReferenceRangeFor(-13, -offset).lo, -123);
    }
    EXPECT_EQ(ReferenceRangeFor(107, kNaN).hi, 117);
    EXPECT_EQ(OffsetSpinPosition(5.7), 557) << "no binary rounding down to 556";
    // The count list's positions, its ends and counts it does not hold.
    struct Case {
        int count;
        bool average;
        int position;
    };
    for (const Case c :
         {Case{2, false, 0}, Case{256, false, 7}, Case{1024, false, 9}, Case{0, false, 10},
          Case{4096, false, 10}, Case{-8, false, 10}, Case{1024, true, 7}, Case{0, true, 7}})
        EXPECT_EQ(CountListPosition(c.count, c.average), c.position) << c.count << " " << c.average;
}
