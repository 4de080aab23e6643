// The message window: the auto-tune wait form driven by its timer and the caller-driven
// progress form. The analyzer's port is replaced by a reader that fills the reply buffer.

#include "instrument_settings.h"
#include "link_state.h"
#include "message_dialog.h"
#include "qt_test_app.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Hands out one scripted reply per read; an empty reply means nothing arrived.
struct ScriptedPort {
    explicit ScriptedPort(std::vector<std::string> scripted = {}) : replies(std::move(scripted)) {}
    std::vector<std::string> replies;
    int reads = 0;
    std::vector<int> requested;

    CMessageDlg::PortReader reader() {
        return [this](int maxBytes) {
            requested.push_back(maxBytes);
            const std::string reply =
                reads < static_cast<int>(replies.size()) ? replies[reads] : "";
            ++reads;
            const std::size_t n = std::min<std::size_t>(reply.size(), maxBytes);
            std::memcpy(gLink.rxBuffer, reply.data(), n);
            gLink.rxBuffer[n] = '\0';
            return static_cast<int>(n);
        };
    }
};

class MessageDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        gSettings.modelIndex = 0;
        gSettings.memorySelectKind = 0;
    }
};

TEST_F(MessageDialogTest, WaitFormShowsTheTuningTextAndCancelOnly) {
    CMessageDlg dialog;
    dialog.show();
    EXPECT_TRUE(dialog.isWaitForm());
    EXPECT_EQ(dialog.message(), QStringLiteral("Auto Tuning...\nPlease wait..."));
    EXPECT_TRUE(dialog.messageLabel()->isVisible());
    EXPECT_TRUE(dialog.cancelButton()->isVisible());
    EXPECT_FALSE(dialog.progressBar()->isVisible());
    EXPECT_FALSE(dialog.okButton()->isVisible());
    EXPECT_TRUE(dialog.isWaiting());
    EXPECT_EQ(dialog.tickCount(), 0);
}

TEST_F(MessageDialogTest, EndsWithOneOnTheFirstOkInAnyCase) {
    ScriptedPort port({"", "COMP", "ok and more"});
    CMessageDlg dialog;
    dialog.setPortReader(port.reader());
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.waitTick();
    dialog.waitTick();
    EXPECT_EQ(finished.count(), 0);
    dialog.waitTick();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(dialog.result(), CMessageDlg::kResultAnswered);
    EXPECT_EQ(dialog.message(), QStringLiteral("Transferring...\nPlease wait..."));
    EXPECT_FALSE(dialog.isWaiting());
    EXPECT_EQ(port.requested, (std::vector<int>{8, 8, 8}));
}

TEST_F(MessageDialogTest, TimesOutAfterSixtyTicksWithTheConnectionMessageThenEndsWithOne) {
    gSettings.modelIndex = 1;
    ScriptedPort port;
    CMessageDlg dialog;
    dialog.setPortReader(port.reader());
    QSignalSpy finished(&dialog, &QDialog::finished);
    for (int i = 0; i < CMessageDlg::kMaxWaitTicks; ++i) {
        dialog.waitTick();
    }
    EXPECT_EQ(port.reads, 60);
    EXPECT_EQ(finished.count(), 0);
    dialog.waitTick(); // the 61st tick does not read any more
    EXPECT_EQ(port.reads, 60);
    EXPECT_EQ(dialog.message(), QStringLiteral("Please check connection with RVX420."));
    EXPECT_FALSE(dialog.isWaiting());
    // Cancel can no longer change the outcome while the message is on screen.
    dialog.reject();
    EXPECT_EQ(finished.count(), 0);
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(dialog.result(), CMessageDlg::kResultAnswered);
}

TEST_F(MessageDialogTest, CancelEndsWithTwoAtOnceWithoutReadingAgain) {
    ScriptedPort port({"", ""});
    CMessageDlg dialog;
    dialog.setPortReader(port.reader());
    dialog.waitTick();
    dialog.cancelButton()->click();
    EXPECT_EQ(dialog.result(), CMessageDlg::kResultCancelled);
    EXPECT_FALSE(dialog.isWaiting());
    dialog.waitTick();
    EXPECT_EQ(port.reads, 1);
}

TEST_F(MessageDialogTest, EscapeCancels) {
    ScriptedPort port;
    CMessageDlg dialog;
    dialog.setPortReader(port.reader());
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), CMessageDlg::kResultCancelled);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(MessageDialogTest, ModalWaitIsDrivenByItsOwnTimer) {
    ScriptedPort port({"", "", "OK"});
    CMessageDlg::SetDefaultPortReader(port.reader());
    CMessageDlg dialog;
    EXPECT_EQ(dialog.exec(), CMessageDlg::kResultAnswered);
    EXPECT_EQ(port.reads, 3);
    CMessageDlg::SetDefaultPortReader({});
}

TEST_F(MessageDialogTest, WaitWithoutAPortReaderOnlyCountsTicks) {
    CMessageDlg dialog;
    dialog.setPortReader({});
    dialog.waitTick();
    EXPECT_EQ(dialog.tickCount(), 1);
    EXPECT_TRUE(dialog.isWaiting());
}

TEST_F(MessageDialogTest, ProgressFormIsDrivenByItsCaller) {
    gSettings.memorySelectKind = 1;
    ScriptedPort port;
    CMessageDlg::SetDefaultPortReader(port.reader());
    CMessageDlg dialog;
    dialog.setWindowTitle(QStringLiteral("Message window"));
    dialog.show();
    EXPECT_FALSE(dialog.isWaitForm());
    EXPECT_FALSE(dialog.isWaiting());
    EXPECT_TRUE(dialog.progressBar()->isVisible());
    EXPECT_TRUE(dialog.messageLabel()->isVisible());
    EXPECT_FALSE(dialog.cancelButton()->isVisible());
    EXPECT_FALSE(dialog.okButton()->isVisible());

    dialog.setProgressRange(3, 6);
    dialog.setMessage(QStringLiteral("Please wait... %1%").arg(33, 2));
    for (int n = 3; n <= 6; ++n) {
        dialog.setProgressPosition(n);
        dialog.refreshNow();
        EXPECT_EQ(dialog.progressBar()->value(), n);
    }
    EXPECT_EQ(dialog.message(), QStringLiteral("Please wait... 33%"));
    dialog.waitTick(); // a stray tick does nothing in this form
    EXPECT_EQ(port.reads, 0);
    EXPECT_EQ(dialog.tickCount(), 0);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    CMessageDlg::SetDefaultPortReader({});
}

TEST_F(MessageDialogTest, ProgressRangeWithEndBelowStartDoesNotBreakTheBar) {
    gSettings.memorySelectKind = 3;
    CMessageDlg dialog;
    dialog.setProgressRange(10, 2);
    dialog.setProgressPosition(10);
    EXPECT_EQ(dialog.progressBar()->minimum(), 10);
    EXPECT_EQ(dialog.progressBar()->value(), 10);
}

} // namespace
