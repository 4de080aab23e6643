// Start-up and shut-down as the wire log and the settings file show them (exchanges: SimLinkTest).

#include "app_session.h"

#include <QFileInfo>

namespace {

using StartupTest = AppTest;

// A silent analyzer, a closed port and a damaged file are each reported once; the file is
// rewritten.
TEST_F(StartupTest, SilentAnalyzerClosedPortAndDamagedFileAreReportedAndTheFileWrittenClean) {
    QByteArray damaged("Com port : 99\r\nSpan : 4000000000\r\nSweep time : -7\r\nRBW : 77\r\n"
                       "Trace 1 color : zz\r\n");
    damaged.append(QByteArray(3000, '\xff')).append("\r\nUnit : \0\0\0\r\n", 14);
    const char kNoPort[] = "A COM port has not been opened.";
    const std::tuple<QByteArray, bool, const char*, QList<QByteArray>> starts[] = {
        {"Start setup : 1\r\n", true, "Please check connection with RVX410.", {"", "", "", ""}},
        {"Start setup : 1\r\n", false, kNoPort, {}},
        {damaged, true, kNoPort, {}}};
    for (const auto& [settings, simulator, text, wire] : starts) {
        SCOPED_TRACE(text);
        AppSession s;
        s.settingsFile = settings;
        s.startSimulator = simulator;
        s.simArgs += QStringList{"--fault", "drop"};
        ASSERT_TRUE(s.start());
        ASSERT_EQ(s.watcher().messages().size(), 1u);
        const SeenMessage seen = s.watcher().messages().front();
        EXPECT_EQ(std::tie(seen.caption, seen.text, seen.icon),
                  std::make_tuple("Communication error", text, QMessageBox::Warning));
        EXPECT_EQ(gSettings.instrumentPresent, 0);
        EXPECT_EQ(s.received(), wire);
        ASSERT_TRUE(s.close());
        const QByteArray written = orvel::test::ReadFile(s.settingsPath());
        EXPECT_FALSE(written.contains('\xff'));
        EXPECT_TRUE(written.contains("Center frequency : "));
    }
}

TEST_F(StartupTest, MissingSettingsFileReadsTheAnalyzerThenStopsWithoutCreatingIt) {
    session.settingsFile.reset();
    ASSERT_TRUE(session.start());
    // The defaults' All Reading: presence first, then every setting queried and none sent.
    const QList<QByteArray> wire = session.received();
    EXPECT_EQ(wire.value(0, "none"), QByteArray());
    EXPECT_TRUE(ContainsInOrder(
        wire, {"", "FREQ?", "SPAN?", "REF?", "UNIT?", "RBW?", "VBW?", "SWEEP?", "DET?"}));
    EXPECT_FALSE(wire.contains("FREQ1000000000.0000"));
    ASSERT_TRUE(WaitUntil([&] { return !session.frameAlive(); }));
    ExpectOneMessage("A required file is not found.", QMessageBox::Critical, "Starting error");
    EXPECT_FALSE(QFileInfo::exists(session.settingsPath()));
}

} // namespace
