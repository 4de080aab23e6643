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
    QByteArray bytes(70000, 'a');
    bytes[65534] = 'Z';
    bytes[65535] = 'Q';
    const QString text = shown(bytes);
    ASSERT_EQ(text.size(), 65535);
    EXPECT_EQ(text.back(), QChar('Z'));
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) {
        binary.append(static_cast<char>(i * 37));
    }
    EXPECT_FALSE(shown(binary).contains(QChar(0)));
}

} // namespace
