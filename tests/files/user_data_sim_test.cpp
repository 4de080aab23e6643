// The user table upload end to end: a real pseudo-terminal with the simulated analyzer, the
// program's own serial port, and the simulator's wire log.

#include "instrument_settings.h"
#include "link_state.h"
#include "qt_test_app.h"
#include "serial_port.h"
#include "sim_process.h"
#include "user_data_upload.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

using orvel::test::SimProcess;
using userdata::Result;

class UserDataSimTest : public ::testing::Test {
protected:
    void Start(std::vector<std::string> options) {
        EnsureQtApplication();
        ASSERT_TRUE(dir_.isValid());
        options.insert(options.begin(), "--no-pace");
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(sim_->started()) << sim_->error();
        qputenv("ORVEL_COM1", QByteArray::fromStdString(sim_->devicePath()));
        SetDefaultSettings();
        gSettings.comPortIndex = 0;
        gSettings.baudIndex = 3;
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        // The profile in force once the program has started.
        SetPortTimeouts(portprofile::kShort);
        userdata::SetPresenter(
            [this](const userdata::Message& message, QWidget*) { shown_.push_back(message.text); });
    }
    void TearDown() override {
        CommPort(portop::kClose);
        userdata::SetPresenter({});
    }
    QString File(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("table.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir_;
    std::unique_ptr<SimProcess> sim_;
    std::vector<QString> shown_;
};

TEST_F(UserDataSimTest, AntennaAndProbeTablesReachTheAnalyzer) {
    Start({});
    EXPECT_EQ(userdata::WriteUserDataFile(userdata::kAntenna, File("30M:12.5dB,100M:10.2dB\r\n"),
                                          nullptr),
              Result::Completed);
    EXPECT_TRUE(sim_->waitForLogLine("< EFUSER30M:12.5dB,100M:10.2dB"));
    EXPECT_EQ(
        userdata::WriteUserDataFile(userdata::kProbe, File("1M:-3.5dB,10M:0.5dB\r\n"), nullptr),
        Result::Completed);
    EXPECT_TRUE(sim_->waitForLogLine("< MFUSER1M:-3.5dB,10M:0.5dB"));
    EXPECT_EQ(shown_, (std::vector<QString>{QStringLiteral("Setting completion."),
                                            QStringLiteral("Setting completion.")}));
}

TEST_F(UserDataSimTest, RefusedTableIsReportedAndKeptInTheProgram) {
    Start({"--fault", "err:EFUSER"});
    EXPECT_EQ(userdata::WriteUserDataFile(userdata::kAntenna, File("30M:12.5dB\r\n"), nullptr),
              Result::CommunicationError);
    EXPECT_TRUE(sim_->waitForLogLine("< EFUSER30M:12.5dB"));
    EXPECT_EQ(shown_,
              (std::vector<QString>{QStringLiteral("Please check connection with RVX410.")}));
    EXPECT_STREQ(gSettings.efUserText, "30M:12.5dB");
}

TEST_F(UserDataSimTest, SilentAnalyzerIsReported) {
    Start({"--fault", "drop:MFUSER"});
    EXPECT_EQ(userdata::WriteUserDataFile(userdata::kProbe, File("1M:1dB\r\n"), nullptr),
              Result::CommunicationError);
    EXPECT_TRUE(sim_->waitForLogLine("< MFUSER1M:1dB"));
    EXPECT_EQ(shown_,
              (std::vector<QString>{QStringLiteral("Please check connection with RVX410.")}));
}

} // namespace
