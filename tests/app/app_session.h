#pragma once
// The real program run in-process against the simulated analyzer on a pseudo-terminal: a
// temporary program directory with its settings file, orvel-sim with its wire log, the main frame
// started as main() starts it, and a watcher that answers modal windows.

#include "control_panel.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "qt_support.h"
#include "sim_process.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CHardCopyDlg;
class QDialog;

struct SeenMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

// Records each message box and closes it with its default button; other modal dialogs go to
// `dialogHandler` (false: not handled) or are rejected.
class ModalWatcher : public QObject {
public:
    ModalWatcher();
    const std::vector<SeenMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }
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
inline void RunFor(int ms) {
    WaitUntil([] { return false; }, ms);
}
inline void EnsureApplication() {
    orvel::test::EnsureQtApplication();
}
// True when `needles` occur in `haystack` in this order (other lines may stand between).
bool ContainsInOrder(const QList<QByteArray>& haystack, const QList<QByteArray>& needles);

class AppSession {
public:
    ~AppSession();

    // The settings file beside the program (std::nullopt: none). All Setting starts quickest.
    std::optional<QByteArray> settingsFile = QByteArray("Start setup : 1\r\n");
    QStringList simArgs = {QStringLiteral("--no-pace")};
    bool startSimulator = true; // false: COM1 leads to a path where nothing listens

    // Starts the simulator (prepare) and the program (launch); true once the start-up has run or
    // the program closed itself.
    bool start() { return prepare() && launch(); }
    bool prepare();
    bool launch();
    // Closes the main window as the close box does and waits until it is destroyed.
    bool close();

    CMainFrame* frame() const { return frame_.data(); }
    COrvelView* view() const { return frame_ ? frame_->view() : nullptr; }
    bool frameAlive() const { return !frame_.isNull(); }
    orvel::test::SimProcess* sim() const { return sim_.get(); }
    // The lines the analyzer received so far, in order, without their line ends.
    QList<QByteArray> received() const;
    int receivedCount() const { return static_cast<int>(received().size()); }
    QList<QByteArray> receivedSince(int count) const { return received().mid(count); }
    bool waitReceived(const QByteArray& line, int since = 0, int timeoutMs = 20000) const;
    ModalWatcher& watcher() const { return *watcher_; }
    QString directory() const { return dir_.path(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("Orvel.ini")); }

    void trigger(int menuId) const { frame_->menu()->action(menuId)->trigger(); }
    void clickHoldRun() const { paneltest::PanelControls(view()).holdButton->click(); }
    // Waits for `count` more capture requests of the live loop.
    bool waitCaptures(int count) const;
    // Opens the hard copy window from the menu, runs `body` while it is open, then closes it;
    // false when the window never showed.
    bool runHardCopy(const std::function<void(CHardCopyDlg*)>& body) const;
    void printToPdf(const QString& pdf, int copies = 1) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<orvel::test::SimProcess> sim_;
    std::unique_ptr<ModalWatcher> watcher_;
    QPointer<CMainFrame> frame_;
};

// The end-to-end tests' fixture: one session per test (set its settings file and simulator
// options, then Start()), the panel's controls, and the lines received since a mark.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    void Start() {
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.frameAlive());
        panel = session.view()->panel();
        ASSERT_NE(panel, nullptr);
        ui.emplace(panel);
    }
    QAction* Menu(int id) const { return session.frame()->menu()->action(id); }
    void Mark() { mark = session.receivedCount(); }
    QList<QByteArray> Since() const { return session.receivedSince(mark); }
    bool WaitSince(const QByteArray& line) const { return session.waitReceived(line, mark); }
    QByteArray SettingsText() const { return orvel::test::ReadFile(session.settingsPath()); }
    // The one message box seen since the last clear has this text, icon and (unless null)
    // caption; clears the list.
    void ExpectOneMessage(const QString& text, QMessageBox::Icon icon,
                          const QString& caption = QString()) const {
        const std::vector<SeenMessage> seen = session.watcher().messages();
        session.watcher().clear();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen.front().text, text);
        EXPECT_EQ(seen.front().icon, icon);
        EXPECT_TRUE(caption.isNull() || seen.front().caption == caption)
            << seen.front().caption.toStdString();
    }

    AppSession session;
    ControlPanel* panel = nullptr;
    std::optional<paneltest::PanelControls> ui;
    int mark = 0;
};
