#pragma once
// Runs the real program in-process against the simulated analyzer on a pseudo-terminal: a
// temporary program directory with its settings file, orvel-sim with its wire log, the main frame
// started as main() starts it, and a watcher that answers modal windows.

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

class CHardCopyDlg;
class CMainFrame;
class COrvelView;
class QDialog;

struct SeenMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

// Records each message box and closes it with its default button; other modal dialogs go to
// `dialogHandler` or are rejected. The program's exec() loops are ended from a timer.
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

// Lets the program run for `ms` milliseconds (for "nothing more happens" checks).
inline void RunFor(int ms) {
    WaitUntil([] { return false; }, ms);
}

class AppSession {
public:
    AppSession();
    ~AppSession();

    // The settings file beside the program (std::nullopt: none). All Setting starts quickest.
    std::optional<QByteArray> settingsFile = QByteArray("Start setup : 1\r\n");
    QStringList simArgs = {QStringLiteral("--no-pace")};
    // false: COM1 leads to a path where nothing listens.
    bool startSimulator = true;

    // Starts the simulator and the program; returns once the start-up has run (or the program
    // closed itself). prepare() and launch() are its two steps.
    bool start();
    bool prepare();
    bool launch();

    CMainFrame* frame() const { return frame_.data(); }
    COrvelView* view() const;
    bool frameAlive() const { return !frame_.isNull(); }
    orvel::test::SimProcess* sim() const { return sim_.get(); }
    // The lines the analyzer received so far, in order, without their line ends.
    QList<QByteArray> received() const;
    int receivedCount() const { return static_cast<int>(received().size()); }
    QList<QByteArray> receivedSince(int count) const { return received().mid(count); }
    // Waits until the analyzer received `line` after the first `since` lines.
    bool waitReceived(const QByteArray& line, int since = 0, int timeoutMs = 20000) const;
    ModalWatcher& watcher() const { return *watcher_; }
    QString directory() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("Orvel.ini")); }
    // Closes the main window as the close box does and waits until it is destroyed.
    bool close();

    // Triggers a menu command by its id.
    void trigger(int menuId) const;
    // Clicks Hold/Run on the panel.
    void clickHoldRun() const;
    // Waits for `count` more capture requests of the live loop.
    bool waitCaptures(int count) const;
    // Opens the hard copy window from the menu, runs `body` while it is open, then closes it;
    // false when the window never showed.
    bool runHardCopy(const std::function<void(CHardCopyDlg*)>& body) const;
    // Prints through the menu into this PDF file (in `copies` copies).
    void printToPdf(const QString& pdf, int copies = 1) const;

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
