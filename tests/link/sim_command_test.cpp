// The wire of the simulated analyzer: presence, All Reading and Setting, records, every field row.

#include "all_settings.h"
#include "link_fixtures.h"

namespace {

using orvel::test::SimProcess;

// One session: the presence check answered or silent (its message is judged in StartupTest), All
// Reading without an answer, then All Reading asking in order and decoding.
TEST_F(SimLinkTest, PresenceCheckAndAllReadingWithAndWithoutAnswer) {
    Start({"--model", "420", "--fault", "drop:EMPTY#1", "--fault", "drop:EMPTY#3", "--fault",
           "drop:EMPTY#4", "--fault", "drop:EMPTY#6", "--fault", "drop:EMPTY#7"});
    EXPECT_EQ(CheckPresence(), 1) << "the second try answers";
    EXPECT_EQ(ReceivedAtLeast(2).size(), 2u);
    EXPECT_EQ(CheckPresence(), 0);
    EXPECT_EQ(ReceivedAtLeast(4).size(), 4u);
    EXPECT_EQ(CheckPresence(), 1);
    EXPECT_EQ(Received(), Lines(5, ""));
    // All Reading without an answer fills the panel from the record.
    gSettings.centerFreq = 7e8;
    ReadAllSettings();
    EXPECT_EQ(gSettings.instrumentPresent, 0);
    EXPECT_EQ(view.readSettings, std::vector<FieldSet>{Field::Settings | Field::FromAnalyzer});
    EXPECT_EQ(ReceivedAtLeast(7), Lines(7, ""));
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 7e8);

    view = RecordingView();
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
    const size_t mark = Received().size();
    SetDefaultSettings();
    gSettings.modelIndex = 1;
    ReadAllSettings();
    EXPECT_EQ(Received().at(mark), "") << "the presence check's empty line first";
    EXPECT_EQ(ReceivedSince(mark + 1),
              Words("FREQ? SPAN? REF? OFFSET? UNIT? CONV? RBW? VBW? MEAS? CPMODE? CPCNTR? "
                    "CPWIDTH? ACPMODE? ACPOFS? ACPCHBW? ACPREF? ACPREFBW? OBWMODE? "
                    "OBWRATIO? OBWDB? EFANT? MFPROBE? CALC? SCALE? SWEEP? DET? MKR? PEAK? "
                    "PKCNTR? PKWIDTH? VER IMP? REMOTE? MINNO? RBW1M VBW1M SWEEP10 MEASRES"));
    EXPECT_EQ(gSettings.instrumentPresent, 1);
    for (const auto& [code, value] : state)
        EXPECT_EQ(GetField(*fields::byCommand(code)), value) << code;
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

struct FieldCase {
    double value;      // stored in the record
    const char* wire;  // the command text (nullptr: the row has no command)
    const char* reply; // the analyzer's answer to the row's query afterwards
};

// One case per row with a command or a query, in the table's order (the settings file's lines are
// judged in SettingsFileTest).
// clang-format off
const FieldCase kCases[] = {
    {1.5e9, "FREQ1500000000.0000", "1500000000.0000"},
    {5, "SPAN5M", "5M"},
    {-20, "REF-20", "-20"},
    {2, "UNITDBMV", "DBMV"},
    {-3.5, "OFFSET-3.5", "-3.5"},
    {1, "IMP75", "75"},
    {5, "SWEEP3", "3"},
    {1, "DETNEG", "NEG"},
    {2, "RBW30K", "30K"},
    {2, "VBW1K", "1K"},
    {1, "MKRDELTA", "DELTA"},
    {1, "PEAKZONE", "ZONE"},
    {1.002e9, "NORMMKR1002000000.0000", "1002000000.0000"},
    {1.003e9, "PKCNTR1003000000.0000", "1003000000.0000"},
    {4e6, "PKWIDTH4000000.0000", "4000000.0000"},
    {1, "CONVW", "W"},
    {2, "MEASACP", "ACP"},
    {1, "CPMODEBAND", "BAND"},
    {1.001e9, "CPCNTR1001000000.0000", "1001000000.0000"},
    {2e6, "CPWIDTH2000000.0000", "2000000.0000"},
    {2, "ACPMODEPEAK", "PEAK"},
    {9.99e8, "ACPREF999000000.0000", "999000000.0000"},
    {7e5, "ACPREFBW700000.0000", "700000.0000"},
    {3e6, "ACPOFS3000000.0000", "3000000.0000"},
    {5e5, "ACPCHBW500000.0000", "500000.0000"},
    {1, "OBWMODEDB", "DB"},
    {95.5, "OBWRATIO95.5000", "95.5000"},
    {20, "OBWDB20.0000", "20.0000"},
    {4, "EFANTUSER", "USER"},
    {1, "MFPROBEUSER", "USER"},
    {3, "CALCAVE", "AVE"},
    {16, "MAXNO16", "16"},
    {0, "MINNO0", "0"},
    {64, "AVENO64", "64"},
    {0, "SCALE2", "2"},
    {1, "REMOTEON", "ON"},
    {0, nullptr, "OFF"},
    {2, "PKSEARCH03", nullptr},
};
// clang-format on

// One session walking through the screen record, All Setting, every other command code, then every
// row of the field table.
TEST_F(SimLinkTest, ScreenRecordAllSettingEveryCommandCodeAndEveryField) {
    Start({"--auto-ms", "20"});
    gSettings.activeTraceSlot = 3;
    gSettings.traceRecord.recordUnitBits = 0x30;
    ASSERT_EQ(SendCommand(cmd::kScreenCurrent), 1);
    const std::vector<int> points = LoggedPoints(*sim);
    const TraceRecord& r = gSettings.traceRecord;
    EXPECT_EQ(std::vector<int>(r.tracePoints, r.tracePoints + 251), points);
    EXPECT_EQ(std::vector<int>(gSettings.traceStore[3], gSettings.traceStore[3] + 251), points);
    EXPECT_EQ(gSettings.traceStore[1][0], 0) << "other slots stay";
    EXPECT_EQ(RecordLabels(r), (std::vector<double>{1e9, 7, 10, 0x30, 30, 2, 0, 3, 4, 1}));

    gSettings.unitIndex = 2;
    gSettings.scaleIndex = 0;
    SendCommand(cmd::kUnit);
    SendCommand(cmd::kScale);
    SetPortTimeouts(portprofile::kLong); // 1001 points: a busy machine may pause the analyzer
    ASSERT_EQ(SendCommand(cmd::kScreenFull), 1);
    SetPortTimeouts(portprofile::kShort);
    EXPECT_EQ(std::vector<int>(r.tracePoints, r.tracePoints + 1001), LoggedPoints(*sim));
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

    // The settings' own commands are in the field rows below, the other queries in All Reading;
    // here the rest. The analyzer's own refusals do not matter here; the text on the wire does.
    mark = Received().size();
    gSettings.runState = 0;
    const int codes[] = {cmd::kMeasRes,        cmd::kAutoTune,    cmd::kRunHold,
                         cmd::kScreenCurrent,  cmd::kScreenFull,  cmd::kVersion,
                         cmd::kMarkerToCenter, cmd::kPreset,      query::kMaxCount,
                         query::kAveCount,     query::kAutoTune,  query::kHold,
                         query::kNormMarker,   query::kCalcSpread};
    for (int code : codes)
        SendCommand(code);
    EXPECT_EQ(ReceivedSince(mark),
              Words("MEASRES AUTO HOLD SRSCURR SRSF VER FREQSETMKR PRESET MAXNO? "
                    "AVENO? AUTO? HOLD? NORMMKR? CALCSPR?"));

    // Every row of the field table on the wire: its command, its query's reply.
    SetDefaultSettings();
    gSettings.detailedTrace = 0;
    std::vector<fields::SettingField> rows;
    std::copy_if(fields::all().begin(), fields::all().end(), std::back_inserter(rows),
                 [](const fields::SettingField& f) { return f.command != 0 || f.query != 0; });
    ASSERT_EQ(rows.size(), std::size(kCases)) << "one case per row with a command or a query";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const fields::SettingField& f = rows[i];
        const FieldCase& c = kCases[i];
        SCOPED_TRACE(c.wire != nullptr ? c.wire : c.reply);
        SetField(f, c.value);
        if (c.wire != nullptr) {
            EXPECT_EQ(SendCommand(f.command), 1);
            EXPECT_EQ(Received().back(), c.wire);
        }
        if (c.reply != nullptr) {
            SetField(f, c.value + 1);
            EXPECT_EQ(SendCommand(f.query), 1);
            EXPECT_STREQ(gLink.rxBuffer, c.reply);
            EXPECT_EQ(GetField(f), c.value);
        }
    }
    EXPECT_EQ(view.cursorOn, view.cursorOff);
}

} // namespace
