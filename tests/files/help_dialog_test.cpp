// The Help window on real files in a temporary program directory.

#include "help_dialog.h"
#include "instrument_settings.h"
#include "qt_test_app.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>

namespace {

class HelpDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        ASSERT_TRUE(dir_.isValid());
        const QByteArray path = dir_.path().toLocal8Bit();
        ASSERT_LT(path.size(), static_cast<qsizetype>(sizeof gSettings.moduleDirectory));
        std::memcpy(gSettings.moduleDirectory, path.constData(), path.size() + 1);
    }
    void WriteReadme(const QByteArray& bytes) {
        QFile file(dir_.filePath("README.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QTemporaryDir dir_;
};

TEST_F(HelpDialogTest, ShowsTheHelpFileReadOnlyWithOneLinePerLine) {
    WriteReadme("Orvel help\r\nSecond line\r\n\r\nFourth line\nFifth line");
    CHelpDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Help"));
    EXPECT_TRUE(dialog.textView()->isReadOnly());
    EXPECT_EQ(dialog.textView()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QTextDocument* doc = dialog.textView()->document();
    ASSERT_EQ(doc->blockCount(), 5);
    EXPECT_EQ(doc->findBlockByNumber(0).text(), QStringLiteral("Orvel help"));
    EXPECT_EQ(doc->findBlockByNumber(1).text(), QStringLiteral("Second line"));
    EXPECT_EQ(doc->findBlockByNumber(2).text(), QString());
    EXPECT_EQ(doc->findBlockByNumber(4).text(), QStringLiteral("Fifth line"));
}

TEST_F(HelpDialogTest, ShowsOnlyTheFirst65535BytesOfALongFile) {
    QByteArray bytes(70000, 'a');
    bytes[65534] = 'Z';
    bytes[65535] = 'Q';
    WriteReadme(bytes);
    CHelpDlg dialog;
    const QString text = dialog.textView()->toPlainText();
    ASSERT_EQ(text.size(), 65535);
    EXPECT_EQ(text.back(), QChar('Z'));
}

TEST_F(HelpDialogTest, MissingOrEmptyFileGivesAnEmptyWindow) {
    {
        CHelpDlg dialog;
        EXPECT_TRUE(dialog.textView()->toPlainText().isEmpty());
    }
    WriteReadme("");
    CHelpDlg dialog;
    EXPECT_TRUE(dialog.textView()->toPlainText().isEmpty());
}

TEST_F(HelpDialogTest, BinaryFileIsShownWithoutHarm) {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes.append(static_cast<char>(i * 37));
    }
    WriteReadme(bytes);
    CHelpDlg dialog;
    EXPECT_FALSE(dialog.textView()->toPlainText().contains(QChar(0)));
}

TEST_F(HelpDialogTest, OkClosesTheWindow) {
    WriteReadme("text\r\n");
    CHelpDlg dialog;
    QTimer::singleShot(0, dialog.okButton(), &QPushButton::click);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

} // namespace
