// Every row of the field table through each part that reads it: the command text on the wire of
// the simulated analyzer and its answer, the reply to the row's query decoded into the record,
// and the row's settings-file line read back.

#include "link_fixtures.h"
#include "settings_text.h"

#include <iterator>

namespace {

struct FieldCase {
    double value;      // stored in the record
    const char* wire;  // the command text (nullptr: the row has no command)
    const char* reply; // the analyzer's answer to the row's query afterwards
    const char* line;  // the settings-file line
};

// One case per row, in the table's order.
const FieldCase kCases[] = {
    {5, nullptr, nullptr, "Com port : 5"},
    {5, nullptr, nullptr, "Baud rate : 5"},
    {1, nullptr, nullptr, "Detailed trace : 1"},
    {1.5e9, "FREQ1500000000.0000", "1500000000.0000", "Center frequency : 1500000000"},
    {5, "SPAN5M", "5M", "Span : 5"},
    {-20, "REF-20", "-20", "Reference level : -20"},
    {2, "UNITDBMV", "DBMV", "Reference unit : 2"},
    {-3.5, "OFFSET-3.5", "-3.5", "Reference offset : -3.5"},
    {1, "IMP75", "75", "Impedance : 1"},
    {5, "SWEEP3", "3", "Sweep time : 5"},
    {1, "DETNEG", "NEG", "Detection : 1"},
    {2, "RBW30K", "30K", "RBW : 2"},
    {2, "VBW1K", "1K", "VBW : 2"},
    {1, "MKRDELTA", "DELTA", "Marker mode : 1"},
    {1, "PEAKZONE", "ZONE", "Peak search mode : 1"},
    {640, nullptr, nullptr, "Zone position : 640"},
    {33, nullptr, nullptr, "Zone width : 33"},
    {1.002e9, "NORMMKR1002000000.0000", "1002000000.0000", "Marker frequency : 1002000000"},
    {1.003e9, "PKCNTR1003000000.0000", "1003000000.0000", "Peak search ZCF : 1003000000"},
    {4e6, "PKWIDTH4000000.0000", "4000000.0000", "Peak search ZW : 4000000"},
    {1, "CONVW", "W", "Conversion : 1"},
    {2, "MEASACP", "ACP", "Measurement mode : 2"},
    {1, "CPMODEBAND", "BAND", "CP mode : 1"},
    {1.001e9, "CPCNTR1001000000.0000", "1001000000.0000", "CP Center frequency : 1001000000"},
    {2e6, "CPWIDTH2000000.0000", "2000000.0000", "CP zone width : 2000000"},
    {2, "ACPMODEPEAK", "PEAK", "ACP mode : 2"},
    {9.99e8, "ACPREF999000000.0000", "999000000.0000", "ACP reference CF : 999000000"},
    {7e5, "ACPREFBW700000.0000", "700000.0000", "ACP refeence BW : 700000"},
    {3e6, "ACPOFS3000000.0000", "3000000.0000", "ACP ADJ CH offset : 3000000"},
    {5e5, "ACPCHBW500000.0000", "500000.0000", "ACP ADJ CH BW : 500000"},
    {1, "OBWMODEDB", "DB", "OBW mode : 1"},
    {95.5, "OBWRATIO95.5000", "95.5000", "OBW ratio : 95.5"},
    {20, "OBWDB20.0000", "20.0000", "OBW down : 20.0"},
    {4, "EFANTUSER", "USER", "EF mode : 4"},
    {1, "MFPROBEUSER", "USER", "MF mode : 1"},
    {3, "CALCAVE", "AVE", "Calcuration : 3"},
    {16, "MAXNO16", "16", "Max hold : 16"},
    {0, "MINNO0", "0", "Min hold : 0"},
    {64, "AVENO64", "64", "Average hold : 64"},
    {0, "SCALE2", "2", "Scale : 0"},
    {1, nullptr, nullptr, "Start window size : 1"},
    {1, nullptr, nullptr, "Start setup : 1"},
    {1, "REMOTEON", "ON", "Remote : 1"},
    {150, nullptr, nullptr, "Timeout : 150"},
    {70, nullptr, nullptr, "Interval : 70"},
    {1, nullptr, nullptr, "Model : 1"},
    {0, nullptr, "OFF", "Spurious : 0"},
    {2, "PKSEARCH03", nullptr, nullptr},
};

TEST_F(SimLinkTest, EveryFieldOnTheWireInItsQueryAndInTheSettingsFile) {
    const auto rows = fields::all();
    ASSERT_EQ(rows.size(), std::size(kCases)) << "one case per row of the field table";
    Start();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const fields::SettingField& f = rows[i];
        const FieldCase& c = kCases[i];
        SCOPED_TRACE(c.line != nullptr ? c.line : c.wire);
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
        if (c.line != nullptr) {
            const std::string text = settingstext::FormatSettingsText();
            EXPECT_NE(("\r\n" + text).find(std::string("\r\n") + c.line + "\r\n"),
                      std::string::npos);
            SetField(f, c.value + 1);
            settingstext::ApplySettingsText(text.data(), text.size());
            // The model and the spurious calculation always start as off.
            EXPECT_EQ(GetField(f), f.fileRule == fields::FileRule::AlwaysZero ? 0 : c.value);
        }
    }
    EXPECT_EQ(view.cursorOn, view.cursorOff);
}

} // namespace
