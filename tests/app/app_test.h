#pragma once
// The fixture of the application's end-to-end tests: one AppSession per test (set its settings
// file and simulator options, then Start()), the panel's controls, and the lines the analyzer
// received since a mark.

#include "app_session.h"
#include "control_panel.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "qt_support.h"

#include <QAction>

#include <gtest/gtest.h>

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
    // The one message box seen since the last clear has this text, icon and (unless null)
    // caption; clears the list.
    void ExpectOneMessage(const QString& text, QMessageBox::Icon icon,
                          const QString& caption = QString()) const {
        const std::vector<SeenMessage> seen = session.watcher().messages();
        session.watcher().clear();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen.front().text, text);
        EXPECT_EQ(seen.front().icon, icon);
        if (!caption.isNull()) {
            EXPECT_EQ(seen.front().caption, caption);
        }
    }

    AppSession session;
    ControlPanel* panel = nullptr;
    std::optional<paneltest::PanelControls> ui;
    int mark = 0;
};
