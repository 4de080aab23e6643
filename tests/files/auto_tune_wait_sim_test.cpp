// The auto-tune wait window against the simulated analyzer on a real pseudo-terminal: the window's
// own timer polls the port until the analyzer reports the tuning done.

#include "instrument_settings.h"
#include "link_state.h"
#include "message_dialog.h"
#include "qt_test_app.h"
#include "serial_port.h"
#include "sim_process.h"

#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using orvel::test::SimProcess;

class AutoTuneWaitSimTest : public ::testing::Test {
protected:
    void Start(std::vector<std::string> options) {
        EnsureQtApplication();
        options.insert(options.begin(), "--no-pace");
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(sim_->started()) << sim_->error();
        qputenv("ORVEL_COM1", QByteArray::fromStdString(sim_->devicePath()));
        SetDefaultSettings();
        gSettings.comPortIndex = 0;
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        SetPortTimeouts(portprofile::kShort);
        gSettings.memorySelectKind = 0;
        // As the program polls: only when something has arrived.
        CMessageDlg::SetDefaultPortReader(
            [](int maxBytes) { return PortBytesWaiting() ? ReadUpTo(maxBytes) : 0; });
    }
    void TearDown() override {
        CMessageDlg::SetDefaultPortReader({});
        CommPort(portop::kClose);
    }
    void SendAutoTune() {
        std::strcpy(gLink.txBuffer, "AUTO\r\n");
        CommPort(portop::kWrite);
    }

    std::unique_ptr<SimProcess> sim_;
};

TEST_F(AutoTuneWaitSimTest, EndsWithOneWhenTheAnalyzerHasTuned) {
    Start({"--auto-ms", "1200"});
    SendAutoTune();
    CMessageDlg dialog;
    EXPECT_EQ(dialog.exec(), CMessageDlg::kResultAnswered);
    EXPECT_GE(dialog.tickCount(), 1);
    EXPECT_EQ(dialog.message(), QStringLiteral("Transferring...\nPlease wait..."));
    EXPECT_TRUE(sim_->waitForLogLine("< AUTO"));
    EXPECT_TRUE(sim_->waitForLogLine("> OK"));
}

TEST_F(AutoTuneWaitSimTest, CancelEndsTheWaitWithTwo) {
    Start({"--auto-ms", "600000"});
    SendAutoTune();
    CMessageDlg dialog;
    QTimer::singleShot(0, dialog.cancelButton(), &QPushButton::click);
    EXPECT_EQ(dialog.exec(), CMessageDlg::kResultCancelled);
}

} // namespace
