// The settings file in a temporary program directory: written, read back, hand-edited, damaged.

#include "fuzz_support.h"
#include "instrument_settings.h"
#include "qt_support.h"
#include "settings_file.h"
#include "settings_text.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.valid());
        gSettings = InstrumentSettings{}; // the zeroed record the program starts from
        SetDefaultSettings();
    }

    QString File() const { return dir_.path(QStringLiteral("Orvel.ini")); }
    QByteArray Text() const { return orvel::test::ReadFile(File()); }
    void ReadFresh(const QByteArray& text) {
        SetDefaultSettings();
        ASSERT_TRUE(orvel::test::WriteFile(File(), text));
        ASSERT_EQ(ReadSettingsFile(dirPath_.constData()), SettingsFileStatus::Done);
    }

    orvel::test::TempFolder dir_;
    const QByteArray dirPath_ = dir_.path().toLocal8Bit();
};

// First start: the defaults over any former state, written into the empty file at exit. Then noise
// with zero bytes and damaged keys, and more than the read limit: safe values, the keys before the
// limit read, and a clean file of the program's own lines written over it.
TEST_F(SettingsFileTest, EmptyOrDamagedFilesStartWithDefaultsAndExitWritesACleanFile) {
    std::memset(&gSettings, 0x5A, sizeof gSettings);
    InstrumentSettings& s = gSettings; // the fields the defaults leave as they stand
    std::tie(s.detailedTrace, s.normMarkerFreq, s.peakZoneCenter, s.peakZoneWidth, s.zonePosition,
             s.zoneWidth) = std::tuple(0, 0.0, 0.0, 0.0, 0, 0);
    ReadFresh("");
    EXPECT_EQ(gSettings.requiredFileFound, 1);
    EXPECT_STREQ(gSettings.moduleDirectory, dirPath_.constData());
    ReadWriteSettings(1); // the shut-down, from wherever the file dialogs left the folder
    EXPECT_EQ(QDir::current().canonicalPath(), QFileInfo(File()).canonicalPath());
    const QByteArray defaults = orvel::test::ReadFile(
        QStringLiteral(ORVEL_SOURCE_DIR "/tests/files/data/default_settings.ini"));
    EXPECT_EQ(Text().toStdString(), defaults.toStdString());

    gSettings = InstrumentSettings{};
    QByteArray noise(30000, '\0');
    QRandomGenerator(12345).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QByteArray text = "Baud rate : 2\r\n" + noise;
    text.insert(100, QByteArray("Span : \0\xff", 9));
    text.insert(500, QByteArray("EF user data : \x01\x02\0\x7f", 19));
    text.insert(900, "Trace 4 color : \xff\xfe");
    text.insert(1500, "Com port : 99999999999999999999999");
    text.append(QByteArray(static_cast<qsizetype>(kSettingsReadLimit) + 1000, ' '));
    text.append("RBW : 1\r\n"); // beyond the limit: not read
    text.append(QByteArray(2 * 1024 * 1024, '#'));
    ReadFresh(text);
    FuzzCheckRecord(); // a field outside its range aborts, naming it
    ASSERT_EQ(WriteSettingsFile(), SettingsFileStatus::Done);
    QByteArray expected = defaults;
    expected.replace("Com port : 0\r", "Com port : 8\r")
        .replace("Baud rate : 3\r", "Baud rate : 2\r")
        .replace("Trace 4 color : b0b0b0", "Trace 4 color : 000000")
        .replace("Span : 7\r", "Span : 0\r");
    EXPECT_EQ(Text().toStdString(), expected.toStdString());
}

// Read back as the record held them (the text's own round trip is the settings fuzz target's); cut;
// at its largest.
TEST_F(SettingsFileTest, WrittenFileReadsBackTheSameValues) {
    ReadFresh("old text that is longer than nothing\r\n");
    // Unusual values, with user texts and the two values a read always turns off.
    SetUnusualSettings();
    std::strcpy(gSettings.efUserText, "30M:12.5dB,100M:10.2dB");
    std::strcpy(gSettings.mfUserText, "1M:-3.5dB,10M:0.5dB,20M:1dB");
    std::tie(gSettings.modelIndex, gSettings.calcSpread) = std::tuple(1, 1);
    ASSERT_EQ(WriteSettingsFile(), SettingsFileStatus::Done);
    const QByteArray written = Text();
    const InstrumentSettings before = gSettings;
    ReadFresh(written);
    // The model and the spurious calculation always start as off; the user tables are parsed.
    const InstrumentSettings& s = gSettings;
    EXPECT_EQ(std::tuple(s.modelIndex, s.calcSpread, s.requiredFileFound, s.efUserFreq[0],
                         s.efUserGain[1], s.mfUserFreq[2]),
              std::tuple(0, 0, 1, 300, 1020, 200));
    // Read and write could share a fault (two colours swapped both ways): the record itself.
    EXPECT_EQ(std::memcmp(s.traceColor, before.traceColor, sizeof s.traceColor), 0);
    EXPECT_EQ(std::memcmp(s.markerColor, before.markerColor, sizeof s.markerColor), 0);
    EXPECT_EQ(std::tuple(s.scaleLineColor, s.backgroundColor, s.obwRatio, s.intervalSetting),
              std::tuple(before.scaleLineColor, before.backgroundColor, before.obwRatio,
                         before.intervalSetting));
    // Cut in a value ("Center frequency : 245"): what arrived is kept, the defaults beyond it.
    ReadFresh(written.left(written.indexOf("Center frequency : ") + 22));
    EXPECT_STREQ(s.mfUserText, "1M:-3.5dB,10M:0.5dB,20M:1dB");
    EXPECT_EQ(std::tuple(s.baudIndex, s.centerFreq, s.spanIndex, s.aveCount),
              std::tuple(5, 245.0, 7, 256));
    FuzzCheckRecord(); // a field outside its range aborts, naming it

    // The largest file of the program's making is read whole.
    SetUnusualSettings();
    std::tie(gSettings.modelIndex, gSettings.calcSpread) = std::tuple(1, 1);
    const std::string table =
        QByteArray("1234.5678M:-12.34dB,").repeated(26).left(511).toStdString();
    std::memcpy(gSettings.efUserText, table.c_str(), 512);
    std::memcpy(gSettings.mfUserText, table.c_str(), 512);
    // Frequencies far beyond any analyzer write as their largest kept value.
    std::tie(gSettings.cpCenter, gSettings.peakZoneWidth, gSettings.timeOutSetting) =
        std::tuple(1e300, -1e300, 2000000000);
    ASSERT_EQ(WriteSettingsFile(), SettingsFileStatus::Done);
    EXPECT_LT(Text().size(), 5000); // well inside the read limit
    ReadFresh(Text());
    // The last user text survived, and the very last lines were read.
    EXPECT_EQ(std::tuple(std::string(gSettings.mfUserText), gSettings.calcSpread,
                         gSettings.intervalSetting),
              std::tuple(table, 0, 70));
}

TEST_F(SettingsFileTest, WritingKeepsTheFilesPermissionsAndLinks) {
    ASSERT_TRUE(orvel::test::WriteFile(File(), "Span : 3\r\n"));
    const QFileDevice::Permissions mode =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(File(), mode));
    ASSERT_EQ(ReadSettingsFile(dirPath_.constData()), SettingsFileStatus::Done);
    ASSERT_EQ(WriteSettingsFile(), SettingsFileStatus::Done);
    EXPECT_EQ(QFile::permissions(File()) & 0x7077, mode & 0x7077); // owner, group, other

    // A settings file that is a link to one kept elsewhere stays a link; its target is written.
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath(QStringLiteral("shared.ini"));
    ASSERT_TRUE(QFile::rename(File(), target));
    ASSERT_TRUE(QFile::link(target, File()));
    gSettings.spanIndex = 5;
    ASSERT_EQ(WriteSettingsFile(), SettingsFileStatus::Done);
    EXPECT_TRUE(QFileInfo(File()).isSymLink());
    EXPECT_TRUE(orvel::test::ReadFile(target).contains("\r\nSpan : 5\r\n"));
}

TEST_F(SettingsFileTest, ReadOnlyOrMissingFileStopsStartUpAndIsNeverWritten) {
    const QByteArray original = "Span : 3\r\nBaud rate : 1\r\n";
    ASSERT_TRUE(orvel::test::WriteFile(File(), original));
    ASSERT_TRUE(QFile::setPermissions(File(), QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                  QFileDevice::ReadOther));
    EXPECT_EQ(ReadSettingsFile(dirPath_.constData()), SettingsFileStatus::NotWritable);
    EXPECT_EQ(std::tuple(gSettings.requiredFileFound, gSettings.spanIndex, gSettings.baudIndex),
              std::tuple(0, 7, 3)); // not read
    ReadWriteSettings(1);           // the shut-down writes nothing
    EXPECT_EQ(WriteSettingsFile(), SettingsFileStatus::NotWritable);
    EXPECT_EQ(Text(), original);
    // No file: reported, and never created.
    ASSERT_TRUE(QFile::remove(File()));
    EXPECT_EQ(ReadSettingsFile(dirPath_.constData()), SettingsFileStatus::NotFound);
    EXPECT_EQ(gSettings.requiredFileFound, 0);
    EXPECT_EQ(WriteSettingsFile(), SettingsFileStatus::NotFound);
    ReadWriteSettings(1);
    EXPECT_FALSE(QFile::exists(File()));
    // A folder in place of the file, and a folder path too long for the record.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Orvel.ini")));
    for (const QByteArray& folder : {dirPath_, dirPath_ + QByteArray("/deeper").repeated(90)}) {
        gSettings.requiredFileFound = 1;
        EXPECT_EQ(ReadSettingsFile(folder.constData()), SettingsFileStatus::NotFound);
        EXPECT_EQ(gSettings.requiredFileFound, 0);
    }
    EXPECT_EQ(gSettings.moduleDirectory[0], '\0');
}

// Hand-edited files judged by the lines written back: each key at its first occurrence anywhere in
// a line, each value as documented. The user-text row comes last: its table is checked after it.
TEST_F(SettingsFileTest, HandEditedKeysFollowTheFirstMatchRulesAndUserTextsAreCutToTheirField) {
    const std::tuple<const char*, std::vector<const char*>> cases[] = {
        // clang-format off
        {"Span  : 3\r\n", {"Span : 7"}},
        {"Center frequency : 3500000000\r\n", {"Center frequency : 3300000000"}},
        {"Model : 1\r\nSpurious : 1\r\n", {"Model : 0", "Spurious : 0"}},
        {"ACP mode : 1\r\nCP mode : 0\r\n", {"CP mode : 1", "ACP mode : 1"}},
        {"ACP mode : 2\r\nCP mode : 1\r\n", {"CP mode : 0", "ACP mode : 2"}}, // 2: no CP mode
        {"RBW : 1\r\nxxSpan : 2\r\nCP mode : 1\r\nACP mode : 2\r\nCom port : 6\r\n", {"RBW : 1", "Span : 2", "CP mode : 1", "Com port : 6"}},
        {"CP Center frequency : 5M\r\nCenter frequency : 1.5G\r\n", {"Center frequency : 5000000", "CP Center frequency : 5000000"}},
        {"Trace 1 color : 0000aa\r\nTrace 10 color : 0000bb\r\n", {"Trace 1 color : 0000aa", "Trace 10 color : 0000bb"}},
        {"Trace 10 color : 0000bb\r\nTrace 1 color : 0000aa\r\n", {"Trace 1 color : 0000bb", "Trace 10 color : 0000bb"}},
        {"Marker 2 color : 1 2 3 4 5 6\r\nCursor 4 color : 00FF00h\r\nScale line color : \tab cd ef\r\nBack ground color : zz\r\n",
         {"Marker 1 color : 00ffff", "Marker 2 color : 123456", "Cursor 4 color : 00ff00", "Scale line color : abcdef", "Back ground color : 000000"}},
        {"Span : 3\nEF user data : 30M:12.5dB,100M:10.2dB\nMF user data : \nTrace 2 color : 00ff00\nCenter frequency : 2000000000\n",
         {"Trace 2 color : 00ff00", "EF user data : 30M:12.5dB,100M:10.2dB", "MF user data : ", "Center frequency : 2000000000", "Span : 3"}},
        // Outside its range an index keeps its value, a port stays closed (8), a frequency keeps its value, the rest are clamped.
        {"Com port : 12\r\nBaud rate : 6\r\nSpan : 15\r\nRBW : -1\r\nSweep time : 99999999999999999999\r\nAverage hold : -5\r\nTimeout : 5000\r\nInterval : 10\r\nReference level : 999\r\nZone position : -4\r\n",
         {"Com port : 8", "Baud rate : 3", "Span : 7", "RBW : 3", "Sweep time : 2", "Average hold : 256", "Timeout : 200", "Interval : 50", "Reference level : 60", "Zone position : 0"}},
        {"Reference offset : 1e9\r\nOBW ratio : 150\r\nOBW down : 0\r\nCenter frequency : -5\r\nCP Center frequency : 1e300\r\nCP zone width : 9G\r\nTrace 3 color : ffffffffff\r\nPeak search ZW : x-9\r\n",
         {"Reference offset : 50.0", "OBW ratio : 99.9", "OBW down : 0.1", "Center frequency : 0", "CP Center frequency : 1000000000", "CP zone width : 3300000000", "Trace 3 color : ffffff", "Peak search ZW : 0"}},
        {"Com port : -3\r\n", {"Com port : 8"}},
        {"Reference unit : 7\r\nVBW : 11\r\nDetection : 3\r\nMeasurement mode : 7\r\nEF mode : 7\r\nMF mode : 2\r\nCalcuration : 5\r\nConversion : 4\r\nScale : 2\r\nStart window size : 3\r\nStart setup : -1\r\n",
         {"Reference unit : 0", "VBW : 4", "Detection : 0", "Measurement mode : 0", "EF mode : 0", "MF mode : 0", "Calcuration : 0", "Conversion : 0", "Scale : 1", "Start window size : 0", "Start setup : 0"}},
        // Not a number reads as 0; line ends are skipped before an integer.
        {"Baud rate : x\r\nSpan :   4abc\r\nReference level : -45\r\nOBW ratio : 95.5\r\nReference offset : 2.5\r\nSweep time : \r\n5\r\n",
         {"Baud rate : 0", "Span : 4", "Reference level : -45", "OBW ratio : 95.5", "Reference offset : 2.5", "Sweep time : 5"}},
        // A user text is cut before any later key it holds, which is read at its first occurrence.
        {"EF user data : 30M:1dB,Center frequency : 2000000,Span : 3\r\nMF user data : 10M:86.7dB,Zone width : 77,OBW ratio : 85.5\r\nZone width : 5\r\nOBW ratio : 90.0\r\nCenter frequency : 1500000000\r\n",
         {"EF user data : 30M:1dB,", "MF user data : 10M:86.7dB,", "Zone width : 77", "Center frequency : 2000000", "OBW ratio : 85.5"}},
        // clang-format on
    };
    for (const auto& [text, lines] : cases) {
        ReadFresh(text);
        ASSERT_EQ(WriteSettingsFile(), SettingsFileStatus::Done);
        const QByteArray written = "\r\n" + Text();
        for (const char* line : lines) {
            EXPECT_TRUE(written.contains("\r\n" + QByteArray(line) + "\r\n")) << text << line;
        }
    }
    EXPECT_EQ(gSettings.efUserFreq[0], 300);
    // A long user text is cut to its field and parsed; the last one runs to the end of the file.
    ReadFresh("EF user data : " + QByteArray("10M:1dB,").repeated(200) +
              "\r\nMF user data : 5M:2.5dB");
    const InstrumentSettings& s = gSettings;
    EXPECT_EQ(std::tuple(std::strlen(s.efUserText), s.efUserFreq[9]), std::tuple(511u, 100));
    EXPECT_STREQ(s.mfUserText, "5M:2.5dB");
}

TEST(ProgramFiles, TheBuildPutsTheHelpTextAndASettingsFileBesideTheProgram) {
    const QDir bin(QString::fromUtf8(ORVEL_BIN_DIR));
    EXPECT_TRUE(QFileInfo(bin.filePath(QStringLiteral("Orvel.ini"))).isFile());
    const QByteArray help = orvel::test::ReadFile(bin.filePath(QStringLiteral("README.txt")));
    EXPECT_TRUE(help.contains("Orvel.ini") && help.contains("Write E/F User Data"));
}

} // namespace
