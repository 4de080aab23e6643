// Every command and query code on the wire of the simulated analyzer, the reply checks, the
// presence check, All Reading and the screen record.

#include "all_settings.h"
#include "link_fixtures.h"
#include "query_decoding.h"

namespace {

using orvel::test::SimProcess;

TEST_F(SimLinkTest, PresenceCheckAnswersAndSilenceAndAllReadingWithoutAnswer) {
    Start({"--fault", "drop:EMPTY#1", "--fault", "drop:EMPTY#3", "--fault", "drop:EMPTY#4",
           "--fault", "drop:EMPTY#6", "--fault", "drop:EMPTY#7"});
    EXPECT_EQ(CheckPresence(), 1) << "the second try answers";
    EXPECT_EQ(ReceivedAtLeast(2).size(), 2u);
    EXPECT_EQ(CheckPresence(), 0);
    EXPECT_EQ(ReceivedAtLeast(4).size(), 4u);
    ShowCommunicationError();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Communication error: Please check connection with RVX410.");
    EXPECT_EQ(CheckPresence(), 1);
    EXPECT_EQ(Received(), Lines(5, ""));
    // All Reading without an answer fills the panel from the record.
    gSettings.centerFreq = 7e8;
    ReadAllSettings();
    EXPECT_EQ(gSettings.instrumentPresent, 0);
    EXPECT_EQ(view.readSettings, std::vector<FieldSet>{Field::Settings | Field::FromAnalyzer});
    EXPECT_EQ(ReceivedAtLeast(7), Lines(7, ""));
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 7e8);
}

TEST_F(SimLinkTest, AllReadingAsksInOrderAndDecodes) {
    Start({"--model", "420"});
    gSettings.modelIndex = 1;
    // Put the analyzer into a state unlike the program's defaults ("5G" span, a remote state).
    const std::pair<int, double> state[] = {
        {cmd::kFreq, 2.5e9},  {cmd::kSpan, 14},    {cmd::kRef, -30}, {cmd::kUnit, 1},
        {cmd::kRbw, 5},       {cmd::kVbw, 8},      {cmd::kCalc, 2},  {cmd::kMinCount, 64},
        {cmd::kSweep, 6},     {cmd::kDetector, 1}, {cmd::kMeas, 3},  {cmd::kOffset, 2.5},
        {cmd::kImpedance, 1}, {cmd::kRemote, 1}};
    for (const auto& [code, value] : state) {
        SetField(*fields::byCommand(code), value);
        ASSERT_EQ(SendCommand(code), 1) << code;
    }
    const size_t before = Received().size();
    SetDefaultSettings();
    gSettings.modelIndex = 1;
    ReadAllSettings();

    const Lines all = Received();
    const Lines asked(all.begin() + static_cast<long>(before), all.end());
    Lines expected = Words("FREQ? SPAN? REF? OFFSET? UNIT? CONV? RBW? VBW? MEAS? CPMODE? CPCNTR? "
                           "CPWIDTH? ACPMODE? ACPOFS? ACPCHBW? ACPREF? ACPREFBW? OBWMODE? "
                           "OBWRATIO? OBWDB? EFANT? MFPROBE? CALC? SCALE? SWEEP? DET? MKR? PEAK? "
                           "PKCNTR? PKWIDTH? VER IMP? REMOTE? MINNO? RBW1M VBW1M SWEEP10 MEASRES");
    expected.insert(expected.begin(), ""); // the presence check's empty line
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(gSettings.instrumentPresent, 1);
    for (const auto& [code, value] : state) {
        EXPECT_EQ(GetField(*fields::byCommand(code)), value) << code;
    }
    EXPECT_STREQ(gSettings.versionText, "1.05 RVX420");
    EXPECT_EQ(view.remoteChecked, 1);
    EXPECT_EQ(view.autoOff, 1);
    ASSERT_EQ(view.readSettings.size(), 34u);
    EXPECT_EQ(view.readSettings.front(), Field::CenterFreq | Field::FromAnalyzer);
    EXPECT_EQ(view.readSettings[1], Field::Span | Field::FromAnalyzer);
}

// The points of the screen record the simulator sent last, read from its log.
std::vector<int> LoggedPoints(const SimProcess& sim) {
    std::string record = SimProcess::unescape(sim.sent().back());
    record.erase(0, record.find("TRACE") + 5);
    std::replace(record.begin(), record.end(), ',', ' ');
    std::istringstream in(record);
    std::vector<int> points;
    for (int point; in >> std::hex >> point;)
        points.push_back(point);
    return points;
}

// One session walking through the screen record, All Setting and every other command code.
TEST_F(SimLinkTest, ScreenRecordAllSettingAndEveryCommandCodeOnTheWire) {
    Start({"--auto-ms", "20"});
    gSettings.activeTraceSlot = 3;
    gSettings.traceRecord.recordUnitBits = 0x30;
    ASSERT_EQ(SendCommand(cmd::kScreenCurrent), 1);
    const std::vector<int> points = LoggedPoints(*sim);
    ASSERT_EQ(points.size(), 251u);
    const TraceRecord& r = gSettings.traceRecord;
    EXPECT_EQ(std::vector<int>(r.tracePoints, r.tracePoints + 251), points);
    EXPECT_EQ(std::vector<int>(gSettings.traceStore[3], gSettings.traceStore[3] + 251), points);
    EXPECT_EQ(gSettings.traceStore[1][0], 0) << "other slots stay";
    EXPECT_EQ(RecordLabels(r), (std::vector<double>{1e9, 7, 10, 0x30, 30, 2, 0, 3, 4, 1}));

    gSettings.unitIndex = 2;
    gSettings.scaleIndex = 0;
    SendCommand(cmd::kUnit);
    SendCommand(cmd::kScale);
    ASSERT_EQ(SendCommand(cmd::kScreenFull), 1);
    const std::vector<int> full = LoggedPoints(*sim);
    ASSERT_EQ(full.size(), 1001u);
    EXPECT_EQ(std::vector<int>(r.tracePoints, r.tracePoints + 1001), full);
    EXPECT_EQ(RecordLabels(r), (std::vector<double>{1e9, 7, 57, 0x32, 34, 2, 0, 3, 4, 0}));

    // All Setting sends the record in order.
    SetDefaultSettings();
    size_t mark = Received().size();
    gSettings.measureIndex = 4;
    gSettings.antennaIndex = 5;
    gSettings.normMarkerFreq = 0.0;
    gSettings.peakZoneCenter = 0.0;
    gSettings.peakZoneWidth = 0.0;
    SendAllSettings();
    EXPECT_EQ(ReceivedSince(mark),
              Words("FREQ1000000000.0000 SPAN20M REF10 UNITDBM RBW100K VBW10K IMP50 "
                    "OFFSET0.0 CALCOFF MAXNO0 MINNO0 AVENO256 SCALE10 SWEEP0.1 DETPOS "
                    "MKRNORM NORMMKR0.0000 PEAKNORM PKSEARCH01 PKCNTR0.0000 "
                    "PKWIDTH0.0000 CONVDBM REMOTEOFF MEASOFF MEASEF EFANTAT15"));
    EXPECT_EQ(gSettings.measureIndex, 4);

    // The settings' own commands are in the field table's test; here the rest and every query.
    mark = Received().size();
    gSettings.runState = 0;
    const std::pair<int, const char*> commands[] = {
        {cmd::kMeasRes, "MEASRES"},           {cmd::kAutoTune, "AUTO"},   {cmd::kRunHold, "HOLD"},
        {cmd::kScreenCurrent, "SRSCURR"},     {cmd::kScreenFull, "SRSF"}, {cmd::kVersion, "VER"},
        {cmd::kMarkerToCenter, "FREQSETMKR"}, {cmd::kPreset, "PRESET"},
    };
    Lines expected;
    for (const auto& [code, text] : commands) {
        // The analyzer's own refusals do not matter here; the text on the wire does.
        SendCommand(code);
        expected.push_back(text);
    }
    for (int code = query::kFirst; code <= query::kLast; ++code) {
        SendCommand(code);
        expected.push_back(QueryKeyword(code));
    }
    EXPECT_EQ(ReceivedSince(mark), expected);
    EXPECT_EQ(view.cursorOn, view.cursorOff);
}

} // namespace
