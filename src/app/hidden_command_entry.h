#pragma once
// The hidden command entry of the form: a line typed there and ended with Enter goes to the
// analyzer as it is, and the reply shows beside it. Both edits are hidden when the form is created
// and the program offers no command that shows them; "HIDE" hides them again.

#include <QObject>

class QLineEdit;
class QWidget;

class HiddenCommandEntry : public QObject {
    Q_OBJECT
public:
    explicit HiddenCommandEntry(QWidget* form);

    QLineEdit* entry() const { return entry_; } // the command typed
    QLineEdit* reply() const { return reply_; } // the analyzer's reply
    void setVisible(bool visible);

private:
    void OnEnter();

    QLineEdit* entry_;
    QLineEdit* reply_;
};
