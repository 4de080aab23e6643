// The Help window on real files in a temporary program directory.

#include "help_dialog.h"
#include "instrument_settings.h"
#include "qt_support.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>

namespace {

class HelpDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvel::test::EnsureQtApplication();
        ASSERT_TRUE(dir_.valid());
        const QByteArray path = dir_.path().toLocal8Bit();
        ASSERT_LT(path.size(), static_cast<qsizetype>(sizeof gSettings.moduleDirectory));
        std::memcpy(gSettings.moduleDirectory, path.constData(), path.size() + 1);
    }
    // The text the window shows for this README.txt.
    QString Shown(const QByteArray& readme) {
        EXPECT_FALSE(dir_.write(QStringLiteral("README.txt"), readme).isEmpty());
        CHelpDlg dialog;
        return dialog.textView()->toPlainText();
    }
    orvel::test::TempFolder dir_;
};

// One line per line, read-only, OK closes; no, empty, long and binary files shown without harm.
TEST_F(HelpDialogTest, ShowsTheHelpFileReadOnlyWithOneLinePerLineAndOkClosesWhateverTheFile) {
    EXPECT_TRUE(CHelpDlg().textView()->toPlainText().isEmpty()) << "no file: an empty window";
    EXPECT_EQ(Shown("Orvel help\r\nSecond line\r\n\r\nFourth line\nFifth line"),
              QStringLiteral("Orvel help\nSecond line\n\nFourth line\nFifth line"));
    CHelpDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Help"));
    EXPECT_TRUE(dialog.textView()->isReadOnly());
    EXPECT_EQ(dialog.textView()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QTimer::singleShot(0, dialog.okButton(), &QPushButton::click);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    EXPECT_TRUE(Shown("").isEmpty());
    // Only the first 65535 bytes of a long file.
    QByteArray bytes(70000, 'a');
    bytes[65534] = 'Z';
    bytes[65535] = 'Q';
    const QString text = Shown(bytes);
    ASSERT_EQ(text.size(), 65535);
    EXPECT_EQ(text.back(), QChar('Z'));
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) {
        binary.append(static_cast<char>(i * 37));
    }
    EXPECT_FALSE(Shown(binary).contains(QChar(0)));
}

} // namespace
