#pragma once
// The fixture of the application's end-to-end tests: one AppSession per test (set its settings
// file and simulator options, then Start()), the panel's controls, the menu by its ids, and the
// lines the analyzer received since a mark.

#include "app_session.h"
#include "control_panel.h"
#include "main_frame.h"
#include "main_menu.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "qt_support.h"

#include <QAction>

#include <gtest/gtest.h>

// Lets the program run for `ms` milliseconds (for "nothing more happens" checks).
inline void RunFor(int ms) {
    WaitUntil([] { return false; }, ms);
}

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
    // Sets a mark: Since() gives what the analyzer received after it.
    void Mark() { mark = session.receivedCount(); }
    QList<QByteArray> Since() const { return session.receivedSince(mark); }
    bool WaitSince(const QByteArray& line) const { return session.waitReceived(line, mark); }
    QByteArray SettingsText() const { return orvel::test::ReadFile(session.settingsPath()); }
    // The one message box seen so far has this text, icon and (unless null) caption.
    void ExpectOneMessage(const QString& text, QMessageBox::Icon icon,
                          const QString& caption = QString()) const {
        ASSERT_EQ(session.watcher().messages().size(), 1u);
        const SeenMessage& seen = session.watcher().messages().front();
        EXPECT_EQ(seen.text, text);
        EXPECT_EQ(seen.icon, icon);
        if (!caption.isNull()) {
            EXPECT_EQ(seen.caption, caption);
        }
    }

    AppSession session;
    ControlPanel* panel = nullptr;
    std::optional<paneltest::PanelControls> ui;
    int mark = 0;
};
