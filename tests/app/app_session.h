#pragma once
// The real program run in-process, as main() runs it, against orvel-sim on a pseudo-terminal.

#include "hard_copy_dialog.h"
#include "main_frame.h"
#include "main_menu.h"
#include "marker_panel.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "sim_process.h"
#include "trace_display.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

class QDialog;

struct SeenMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

// Records and closes each message box; other modal dialogs not taken by the handler are rejected.
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
        if (auto* window = qobject_cast<W*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// A dialog handler that acts on the dialogs of type D and leaves the others.
template <class D> std::function<bool(QDialog*)> On(std::function<void(D*)> act) {
    return [act](QDialog* dialog) {
        auto* d = qobject_cast<D*>(dialog);
        if (d != nullptr)
            act(d);
        return d != nullptr;
    };
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

    // Starts the simulator (prepare), then the program (launch) until its start-up has run.
    bool start() { return prepare() && launch(); }
    bool prepare();
    bool launch();
    bool close();

    CMainFrame* frame() const { return frame_.data(); }
    COrvelView* view() const { return frame_ ? frame_->view() : nullptr; }
    bool frameAlive() const { return !frame_.isNull(); }
    orvel::test::SimProcess* sim() const { return sim_.get(); }
    // The lines the analyzer received so far, without their line ends.
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
    bool waitCaptures(int count) const;
    // Runs `body` in the hard copy window opened from the menu; false when it never showed.
    bool runHardCopy(const std::function<void(CHardCopyDlg*)>& body) const;
    void printToPdf(const QString& pdf, int copies = 1) const;

private:
    QTemporaryDir dir_;
    std::unique_ptr<orvel::test::SimProcess> sim_;
    std::unique_ptr<ModalWatcher> watcher_;
    QPointer<CMainFrame> frame_;
};

// One session per test (set its options, then Start()), the panel's controls, and a wire mark.
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
    // The one message box seen since the last clear; clears the list.
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
