#pragma once
// The Help window: shows README.txt from the program directory, read-only.

#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

// Most bytes of the help file that are shown.
inline constexpr qint64 kHelpTextLimit = 65535;
inline constexpr const char* kHelpFileName = "README.txt";

// At most kHelpTextLimit bytes of README.txt in `directory`, with line ends made uniform. Empty
// when the file is missing, unreadable or empty.
QString ReadHelpText(const QString& directory);

class CHelpDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the help file of gSettings.moduleDirectory.
    explicit CHelpDlg(QWidget* parent = nullptr);

    QPlainTextEdit* textView() const { return text_; }
    QPushButton* okButton() const { return ok_; }

private:
    QPlainTextEdit* text_;
    QPushButton* ok_;
};
