// The message window's wait form ticked over a scripted reader, its progress form by the caller.

#include "instrument_settings.h"
#include "link_state.h"
#include "message_dialog.h"
#include "qt_support.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Hands out one scripted reply per read; an empty reply means nothing arrived.
struct ScriptedPort {
    std::vector<std::string> replies;
    std::vector<int> requested = {}; // the most bytes asked for, one entry per read

    CMessageDlg::PortReader reader() {
        return [this](int maxBytes) {
            const std::size_t read = requested.size();
            requested.push_back(maxBytes);
            const std::string reply = read < replies.size() ? replies[read] : "";
            const std::size_t n = std::min<std::size_t>(reply.size(), maxBytes);
            std::memcpy(gLink.rxBuffer, reply.data(), n);
            gLink.rxBuffer[n] = '\0';
            return static_cast<int>(n);
        };
    }
};

// What the window shows: the wait form its text and Cancel, the progress form its text and bar.
void ExpectForm(const CMessageDlg& dialog, bool waitForm) {
    EXPECT_EQ(std::tuple(dialog.isWaitForm(), dialog.isWaiting(),
                         dialog.messageLabel()->isVisible(), dialog.cancelButton()->isVisible(),
                         dialog.progressBar()->isVisible(), dialog.okButton()->isVisible()),
              std::tuple(waitForm, waitForm, true, waitForm, !waitForm, false));
}

TEST(MessageDialogTest, WaitFormEndsWithTwoOnEscapeOrCancelAndWithOneOnOkOrAfterSixtyTicks) {
    orvel::test::EnsureQtApplication();
    std::tie(gSettings.modelIndex, gSettings.memorySelectKind) = std::tuple(0, 0);
    CMessageDlg dialog;
    dialog.show();
    ExpectForm(dialog, true);
    EXPECT_EQ(dialog.message(), QStringLiteral("Auto Tuning...\nPlease wait..."));
    EXPECT_EQ(dialog.tickCount(), 0);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), CMessageDlg::kResultCancelled);
    EXPECT_FALSE(dialog.isVisible());
    // Cancel ends at once and no tick reads again.
    ScriptedPort port{{"", ""}};
    CMessageDlg clicked;
    clicked.setPortReader(port.reader());
    clicked.waitTick();
    clicked.cancelButton()->click();
    clicked.waitTick();
    EXPECT_EQ(std::tuple(clicked.result(), clicked.isWaiting(), port.requested.size()),
              std::tuple(CMessageDlg::kResultCancelled, false, 1u));
    // Without a reader the wait only counts its ticks.
    CMessageDlg unread;
    unread.setPortReader({});
    unread.waitTick();
    EXPECT_EQ(std::tuple(unread.tickCount(), unread.isWaiting()), std::tuple(1, true));
    // Silence and other words wait on; the first OK in any case ends with one.
    ScriptedPort answering{{"", "COMP", "ok and more"}};
    CMessageDlg answered;
    answered.setPortReader(answering.reader());
    QSignalSpy finished(&answered, &QDialog::finished);
    answered.waitTick();
    answered.waitTick();
    EXPECT_EQ(finished.count(), 0);
    answered.waitTick();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(std::tuple(answered.result(), answered.message(), answered.isWaiting(),
                         answering.requested),
              std::tuple(CMessageDlg::kResultAnswered,
                         QStringLiteral("Transferring...\nPlease wait..."), false,
                         std::vector<int>{8, 8, 8}));
    // Sixty silent ticks: the connection message, which Cancel no longer changes, then one.
    gSettings.modelIndex = 1;
    ScriptedPort silent;
    CMessageDlg timedOut;
    timedOut.setPortReader(silent.reader());
    QSignalSpy ended(&timedOut, &QDialog::finished);
    for (int i = 0; i < CMessageDlg::kMaxWaitTicks; ++i) {
        timedOut.waitTick();
    }
    EXPECT_EQ(silent.requested.size(), 60u);
    timedOut.waitTick();
    EXPECT_EQ(silent.requested.size(), 60u) << "the 61st tick does not read any more";
    EXPECT_EQ(std::tuple(timedOut.message(), timedOut.isWaiting()),
              std::tuple(QStringLiteral("Please check connection with RVX420."), false));
    timedOut.reject();
    EXPECT_EQ(ended.count(), 0);
    ASSERT_TRUE(ended.wait(30000));
    EXPECT_EQ(timedOut.result(), CMessageDlg::kResultAnswered);
}

TEST(MessageDialogTest, ProgressFormIsDrivenByItsCaller) {
    orvel::test::EnsureQtApplication();
    gSettings.memorySelectKind = 1;
    ScriptedPort port;
    CMessageDlg::SetDefaultPortReader(port.reader());
    CMessageDlg dialog;
    dialog.show();
    ExpectForm(dialog, false);

    dialog.setProgressRange(3, 6);
    dialog.setProgressPosition(5);
    dialog.refreshNow();
    EXPECT_EQ(std::tuple(dialog.progressBar()->minimum(), dialog.progressBar()->value()),
              std::tuple(3, 5));
    dialog.waitTick(); // a stray tick does nothing in this form
    EXPECT_EQ(std::tuple(port.requested.size(), dialog.tickCount()), std::tuple(0u, 0));
    CMessageDlg::SetDefaultPortReader({});
    // A range whose end lies below its start does not break the bar.
    gSettings.memorySelectKind = 3;
    CMessageDlg reversed;
    reversed.setProgressRange(10, 2);
    reversed.setProgressPosition(10);
    EXPECT_EQ(std::tuple(reversed.progressBar()->minimum(), reversed.progressBar()->value()),
              std::tuple(10, 10));
}

} // namespace
