#pragma once
// Answers the program's modal windows during a test: records each message box (caption, text,
// icon) and closes it with its default button; other modal dialogs go to a handler or are rejected.
// The program's code keeps calling exec(); the watcher ends those loops from a timer.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class QDialog;

struct SeenMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

class ModalWatcher : public QObject {
public:
    ModalWatcher();

    const std::vector<SeenMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }

    // Called for a modal dialog that is not a message box; returning false rejects it.
    std::function<bool(QDialog*)> dialogHandler;

private:
    void poll();

    QTimer timer_;
    std::vector<SeenMessage> messages_;
};
