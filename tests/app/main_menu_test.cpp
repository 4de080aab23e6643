// The main window without an analyzer link: geometry, menus and the About box.

#include "about_dialog.h"
#include "app_session.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

// Captions of a menu (or the menu bar) in order, "-" for a separator, "name>" for a submenu.
QStringList Entries(const QWidget* menu) {
    QStringList entries;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            entries << QStringLiteral("-");
        } else if (action->menu() != nullptr) {
            entries << action->text() + QStringLiteral(">");
        } else {
            entries << action->text();
        }
    }
    return entries;
}

QMenu* TopMenu(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions()) {
        if (action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

TEST(MainMenuTest, FrameMenusCheckMarksShortcutsAndTheSmallWindowWhileStartingUp) {
    EnsureApplication();
    gSettings.compactMode = 0;
    CMainFrame frame;
    EXPECT_EQ(frame.minimumSize(), QSize(360, 255));
    EXPECT_EQ(frame.geometry().size(), QSize(1024, 768));
    EXPECT_TRUE(frame.findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(frame.findChild<QStatusBar*>() == nullptr);
    EXPECT_EQ(Entries(frame.menuBar()),
              (QStringList{"File(&F)>", "Control(&C)>", "Option(&O)>", "View(&V)>", "Help(&H)>"}));
    // clang-format off
    const std::pair<const char*, QStringList> menus[] = {
        {"File(&F)", {"Load RVX>", "Load PC>", "-", "Save(&S)...", "RVX Data Save(&A)...", "-", "RVX Data Delete(&D)...",
                      "Write E/F User Data(&E)...", "Write M/F User Data(&M)...", "-", "Print(&P)...", "-",
                      "Screen Capture(&C)>", "Hard Copy(&H)...", "Record...", "-", "Exit(&X)"}},
        {"Control(&C)", {"Trace Select(&T)...", "All Reading(&R)", "All Setting(&S)", "Conversion(&C)...", "Preset(&P)",
                         "Auto Tune(A)", "Hold/Run(&H)", "Measuring Function(&M)...", "Marker to CF", "Remote(&E)",
                         "Marker Display>"}},
        {"Option(&O)", {"Setup(&S)...", "Color Edit(&C)...", "Detailed Trace(&D)"}},
        {"Help(&H)", {"Help(&H)...", "About(&A)..."}}};
    // clang-format on
    for (const auto& [title, entries] : menus) {
        EXPECT_EQ(Entries(TopMenu(frame, title)), entries) << title;
    }
    const MainMenu& menu = *frame.menu();
    EXPECT_EQ(menu.actions().size(), 36); // the 35 specified entries and "Record..."
    // Every entry is enabled; some captions and shortcuts inside the submenus.
    QStringList shown;
    // clang-format off
    for (QAction* action : menu.actions()) {
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    }
    for (int id : {menuid::kLoadRvxParamOnly, menuid::kLoadPcTraceOnly, menuid::kCaptureClipboard, menuid::kMarkerNone,
                   menuid::kSave, menuid::kPrint, menuid::kRvxDataDelete}) {
        shown << menu.action(id)->text() + ' ' + menu.action(id)->shortcut().toString();
    }
    EXPECT_EQ(shown, (QStringList{"Load Param Only(&P)... ", "Load Trace Only(&T)... ", "Clip board(&C) ",
                                  "Marker None ", "Save(&S)... Ctrl+S", "Print(&P)... Ctrl+P",
                                  "RVX Data Delete(&D)... Ctrl+D"}));
    // clang-format on
    EXPECT_TRUE(menu.action(menuid::kRemote)->isCheckable());
    for (bool two : {false, true}) {
        EXPECT_EQ(menu.action(menuid::kMarker1And2)->isChecked(), !two);
        EXPECT_EQ(menu.action(menuid::kMarker2Only)->isChecked(), two);
        frame.menu()->checkMarkerDisplay(menuid::kMarker2Only);
    }

    // A small window keeps the normal layout while starting up.
    frame.show();
    frame.resize(600, 400);
    RunFor(200);
    EXPECT_EQ(gSettings.startingUp, 1);
    EXPECT_EQ(gSettings.compactMode, 0);
}

TEST(MainMenuTest, AboutBoxNamesProgramModelAndVersion) {
    EnsureApplication();
    std::snprintf(gSettings.titleText, sizeof gSettings.titleText, "Orvel Version 1.11");
    std::snprintf(gSettings.versionText, sizeof gSettings.versionText, "VER1.05");
    gSettings.modelIndex = 1;
    CAboutDlg about;
    EXPECT_EQ(
        (QStringList{about.windowTitle(), about.titleLabel()->text(), about.modelLabel()->text(),
                     about.versionLabel()->text()}),
        (QStringList{"Version information", "Orvel Version 1.11", " RVX420", "Version VER1.05"}));
    gSettings.modelIndex = 0;
    EXPECT_EQ(CAboutDlg().modelLabel()->text(), " RVX410");
}

} // namespace
