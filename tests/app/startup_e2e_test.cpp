// The whole program against the simulated analyzer: start-up and shut-down, as the analyzer's
// wire log and the settings file show them. The exchanges themselves are judged in SimLinkTest.

#include "app_test.h"
#include "instrument_settings.h"

#include <QFileInfo>

namespace {

using StartupTest = AppTest;
const char kTitle[] = "PC software for Spectrum Analyzer - Orvel";
const char kNoPort[] = "A COM port has not been opened.";

TEST_F(StartupTest, StartUpShowsTheWindowAndShutDownWritesTheFileSilently) {
    Start();
    EXPECT_TRUE(session.watcher().messages().empty());
    EXPECT_EQ(gSettings.instrumentPresent, 1);
    EXPECT_EQ(gSettings.startingUp, 0);
    EXPECT_EQ(session.frame()->windowTitle(), kTitle);
    EXPECT_EQ(session.frame()->geometry().size(), QSize(978, 748));

    Mark();
    ASSERT_TRUE(session.close());
    EXPECT_TRUE(Since().isEmpty()) << "nothing is sent at shut-down";
    const QByteArray written = SettingsText();
    EXPECT_TRUE(written.startsWith("Com port : 0\r\nBaud rate : 3\r\n")) << written.constData();
    EXPECT_TRUE(written.contains("Center frequency : "));
    EXPECT_TRUE(session.watcher().messages().empty());
}

// Presence checked twice, two empty lines each; nothing else was sent.
TEST_F(StartupTest, SilentAnalyzerIsReportedOnceAndTheProgramStaysUsable) {
    session.simArgs << QStringLiteral("--fault") << QStringLiteral("drop");
    Start();
    ExpectOneMessage("Please check connection with RVX410.", QMessageBox::Warning,
                     "Communication error");
    EXPECT_EQ(gSettings.instrumentPresent, 0);
    EXPECT_EQ(session.received(), (QList<QByteArray>{"", "", "", ""}));
}

TEST_F(StartupTest, PortThatCannotOpenIsReported) {
    session.startSimulator = false;
    Start();
    ExpectOneMessage(kNoPort, QMessageBox::Warning, "Communication error");
}

TEST_F(StartupTest, MissingSettingsFileReadsTheAnalyzerThenStopsWithoutCreatingIt) {
    session.settingsFile.reset();
    ASSERT_TRUE(session.start());
    // The defaults' All Reading ran first: presence, then every setting queried.
    const QList<QByteArray> wire = session.received();
    ASSERT_FALSE(wire.isEmpty());
    EXPECT_EQ(wire.first(), QByteArray()) << "the presence check's empty line comes first";
    EXPECT_TRUE(ContainsInOrder(
        wire, {"", "FREQ?", "SPAN?", "REF?", "UNIT?", "RBW?", "VBW?", "SWEEP?", "DET?"}));
    EXPECT_FALSE(wire.contains("FREQ1000000000.0000")) << "All Reading sends no settings";
    ASSERT_TRUE(WaitUntil([&] { return !session.frameAlive(); }));
    ASSERT_FALSE(session.watcher().messages().empty());
    const SeenMessage& message = session.watcher().messages().back();
    EXPECT_EQ(message.caption, "Starting error");
    EXPECT_EQ(message.text, "A required file is not found.");
    EXPECT_EQ(message.icon, QMessageBox::Critical);
    EXPECT_FALSE(QFileInfo::exists(session.settingsPath()));
}

// A port index outside COM1..COM8 leaves the port closed; the file is written clean at exit.
TEST_F(StartupTest, DamagedSettingsFileGivesSafeValuesAndIsWrittenCleanAtExit) {
    QByteArray damaged("Com port : 99\r\nSpan : 4000000000\r\nSweep time : -7\r\nRBW : 77\r\n"
                       "Trace 1 color : zz\r\n");
    damaged.append(QByteArray(3000, '\xff'));
    damaged.append("\r\nUnit : \0\0\0\r\n", 14);
    session.settingsFile = damaged;
    Start();
    ExpectOneMessage(kNoPort, QMessageBox::Warning, "Communication error");
    EXPECT_TRUE(session.received().isEmpty()) << session.received().join('|').constData();
    ASSERT_TRUE(session.close());
    const QByteArray written = SettingsText();
    EXPECT_FALSE(written.contains('\xff'));
    EXPECT_TRUE(written.contains("Center frequency : "));
}

} // namespace
