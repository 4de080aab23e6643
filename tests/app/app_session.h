#pragma once
// Runs the real program in-process against the simulated analyzer on a pseudo-terminal: a
// temporary program directory with its settings file, orvel-sim with its wire log, the main frame
// started exactly as main() starts it, and a watcher that answers modal windows.

#include <QApplication>
#include <QByteArray>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orvel::test {
class SimProcess;
}

class CMainFrame;
class COrvelView;
class QDialog;

// Answers the program's modal windows during a test: records each message box (caption, text,
// icon) and closes it with its default button; other modal dialogs go to a handler or are rejected.
// The program's code keeps calling exec(); the watcher ends those loops from a timer.
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

// The visible top-level window of type W, or null.
template <class W> W* VisibleWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<W*>(widget); window && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// Processes events until `condition` holds or `timeoutMs` passed; returns the condition.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 20000);

class AppSession {
public:
    AppSession();
    ~AppSession();

    // The settings file to put beside the program; std::nullopt leaves it out.
    std::optional<QByteArray> settingsFile = QByteArray();
    // Options for orvel-sim besides the link and the log ("--no-pace" unless pacing is tested).
    QStringList simArgs = {QStringLiteral("--no-pace")};
    // false: COM1 leads to a path where nothing listens (absent analyzer, port not opened).
    bool startSimulator = true;

    // Starts the simulator and the program; returns once the start-up timer has run (or the
    // program closed itself). False when something could not be started.
    bool start();
    // start() in two steps: the directory, the settings file and the simulator; then the program.
    bool prepare();
    bool launch();

    CMainFrame* frame() const { return frame_.data(); }
    COrvelView* view() const;
    bool frameAlive() const { return !frame_.isNull(); }
    // The simulator, once prepared (null while not started).
    orvel::test::SimProcess* sim() const { return sim_.get(); }
    // The lines the analyzer received so far, in order, without their line ends.
    QList<QByteArray> received() const;
    ModalWatcher& watcher() const { return *watcher_; }
    QString directory() const { return dir_.path(); }
    QString settingsPath() const;
    // Closes the main window as the close box does and waits until it is destroyed.
    bool close();
    // Number of wire lines received by the analyzer so far; for "what came after" checks.
    int receivedCount() const { return static_cast<int>(received().size()); }
    QList<QByteArray> receivedSince(int count) const;
    // Waits until the analyzer received `line` after the first `since` lines.
    bool waitReceived(const QByteArray& line, int since = 0, int timeoutMs = 20000) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<orvel::test::SimProcess> sim_;
    std::unique_ptr<ModalWatcher> watcher_;
    QPointer<CMainFrame> frame_;
};

// True when `needles` occur in `haystack` in this order (other lines may stand between).
bool ContainsInOrder(const QList<QByteArray>& haystack, const QList<QByteArray>& needles);

// The one QApplication of a test process (offscreen unless QT_QPA_PLATFORM says otherwise).
void EnsureApplication();
