// The Help window on real files in a temporary program directory, the message window's wait form
// ticked over a scripted reader and its progress form driven by the caller, and the number-select
// dialog's three forms: captions, controls, starting numbers, OK's range checks.

#include "help_dialog.h"
#include "instrument_settings.h"
#include "link_state.h"
#include "message_dialog.h"
#include "number_select_dialog.h"
#include "qt_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

// One line per line, read-only, OK closes; no, empty, long and binary files shown without harm.
TEST(HelpDialogTest, ShowsTheHelpFileReadOnlyWithOneLinePerLineAndOkClosesWhateverTheFile) {
    orvel::test::EnsureQtApplication();
    const orvel::test::TempFolder dir;
    const QByteArray path = dir.path().toLocal8Bit();
    ASSERT_LT(path.size(), static_cast<qsizetype>(sizeof gSettings.moduleDirectory));
    std::strcpy(gSettings.moduleDirectory, path.constData());
    EXPECT_TRUE(CHelpDlg().textView()->toPlainText().isEmpty()) << "no file: an empty window";
    auto shown = [&dir](const QByteArray& readme) {
        EXPECT_FALSE(dir.write(QStringLiteral("README.txt"), readme).isEmpty());
        return CHelpDlg().textView()->toPlainText();
    };
    EXPECT_EQ(shown("Orvel help\r\nSecond line\r\n\r\nFourth line\nFifth line"),
              QStringLiteral("Orvel help\nSecond line\n\nFourth line\nFifth line"));
    CHelpDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Help"));
    EXPECT_TRUE(dialog.textView()->isReadOnly());
    EXPECT_EQ(dialog.textView()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QTimer::singleShot(0, dialog.okButton(), &QPushButton::click);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    EXPECT_TRUE(shown("").isEmpty());
    // Only the first 65535 bytes of a long file.
    const QString text = shown(QByteArray(65534, 'a') + "ZQ" + QByteArray(4464, 'a'));
    ASSERT_EQ(text.size(), 65535);
    EXPECT_EQ(text.back(), QChar('Z'));
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) {
        binary.append(static_cast<char>(i * 37));
    }
    EXPECT_FALSE(shown(binary).contains(QChar(0)));
}

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

TEST(NumberSelectDialog, FormsShowTheirControlsAndNumbersAndOkChecksTheRange) {
    orvel::test::EnsureQtApplication();
    SetDefaultSettings();
    std::tie(gSettings.memoryRangeStart, gSettings.memoryRangeEnd) = std::tuple(12, 34);
    const std::tuple<int, const char*, bool, bool, const char*, const char*> cases[] = {
        {CNumberSelectDlg::kFormSave, "Save number select", true, false, "12", "34"},
        {CNumberSelectDlg::kFormDelete, "Delete number select", true, true, "0", "99"},
        {CNumberSelectDlg::kFormLoad, "Load number select", false, false, "0", "99"},
    };
    for (const auto& [form, caption, endShown, boxesShown, start, end] : cases) {
        gSettings.memorySelectKind = form;
        CNumberSelectDlg dialog;
        dialog.show();
        EXPECT_EQ(std::tuple(dialog.endEdit()->isVisible(), dialog.endSpin()->isVisible(),
                             dialog.startLabel()->isVisible(), dialog.traceBox()->isVisible(),
                             dialog.paramBox()->isVisible(), dialog.traceBox()->isChecked()),
                  std::tuple(endShown, endShown, endShown, boxesShown, boxesShown, boxesShown))
            << caption;
        EXPECT_EQ(std::tuple(dialog.windowTitle(), dialog.startEdit()->text(),
                             dialog.endEdit()->text(), dialog.startSpin()->maximum()),
                  std::tuple(caption, start, end, 99));
        dialog.startSpin()->setValue(5);
        EXPECT_EQ(dialog.startEdit()->text(), "5") << "the spin steps the edit";
    }
    // OK takes the numbers inside the range; a refused range stores nothing.
    const std::tuple<int, const char*, const char*, bool> ranges[] = {
        {CNumberSelectDlg::kFormSave, "5", "3", false}, // end below start
        {CNumberSelectDlg::kFormSave, "0", "100", false},
        {CNumberSelectDlg::kFormDelete, "-1", "5", false},
        {CNumberSelectDlg::kFormDelete, "x", "5", false},
        {CNumberSelectDlg::kFormSave, "3", "3", true},
        {CNumberSelectDlg::kFormLoad, "99", "0", true}, // the end does not count when loading
        {CNumberSelectDlg::kFormLoad, "100", "0", false},
    };
    for (const auto& [form, start, end, accepted] : ranges) {
        std::tie(gSettings.memorySelectKind, gSettings.memoryRangeStart) = std::tuple(form, 7);
        CNumberSelectDlg dialog;
        dialog.startEdit()->setText(start);
        dialog.endEdit()->setText(end);
        EXPECT_EQ(dialog.TakeNumbers(), accepted) << start << ".." << end;
        EXPECT_EQ(gSettings.memoryRangeStart, accepted ? std::atoi(start) : 7) << start;
    }
    // The contents choice of the delete form.
    gSettings.memorySelectKind = CNumberSelectDlg::kFormDelete;
    CNumberSelectDlg dialog;
    dialog.paramBox()->setChecked(true);
    ASSERT_TRUE(dialog.TakeNumbers());
    EXPECT_EQ(gSettings.memorySelectKind, 3);
}

} // namespace
