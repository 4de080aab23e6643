// The main window without an analyzer link: frame geometry, the menu bar's entries, separators,
// check marks and shortcuts, and the About box.

#include "about_dialog.h"
#include "app_session.h"
#include "instrument_settings.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// Captions of a menu in order, "-" for a separator, "name>" for a submenu.
QStringList Entries(const QMenu* menu) {
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
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles,
              (QStringList{"File(&F)", "Control(&C)", "Option(&O)", "View(&V)", "Help(&H)"}));
    const std::pair<const char*, QStringList> menus[] = {
        {"File(&F)",
         {"Load RVX>", "Load PC>", "-", "Save(&S)...", "RVX Data Save(&A)...", "-",
          "RVX Data Delete(&D)...", "Write E/F User Data(&E)...", "Write M/F User Data(&M)...", "-",
          "Print(&P)...", "-", "Screen Capture(&C)>", "Hard Copy(&H)...", "Record...", "-",
          "Exit(&X)"}},
        {"Control(&C)",
         {"Trace Select(&T)...", "All Reading(&R)", "All Setting(&S)", "Conversion(&C)...",
          "Preset(&P)", "Auto Tune(A)", "Hold/Run(&H)", "Measuring Function(&M)...", "Marker to CF",
          "Remote(&E)", "Marker Display>"}},
        {"Option(&O)", {"Setup(&S)...", "Color Edit(&C)...", "Detailed Trace(&D)"}},
        {"Help(&H)", {"Help(&H)...", "About(&A)..."}}};
    for (const auto& [title, entries] : menus) {
        EXPECT_EQ(Entries(TopMenu(frame, title)), entries) << title;
    }

    const MainMenu& menu = *frame.menu();
    EXPECT_EQ(menu.action(menuid::kLoadRvxParamOnly)->text(), "Load Param Only(&P)...");
    EXPECT_EQ(menu.action(menuid::kLoadPcTraceOnly)->text(), "Load Trace Only(&T)...");
    EXPECT_EQ(menu.action(menuid::kCaptureClipboard)->text(), "Clip board(&C)");
    EXPECT_EQ(menu.action(menuid::kMarkerNone)->text(), "Marker None");
    EXPECT_EQ(menu.actions().size(), 36); // the 35 specified entries and "Record..."

    EXPECT_TRUE(menu.action(menuid::kMarker1And2)->isChecked());
    EXPECT_FALSE(menu.action(menuid::kMarker2Only)->isChecked());
    EXPECT_TRUE(menu.action(menuid::kRemote)->isCheckable());
    EXPECT_EQ(menu.action(menuid::kSave)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(menu.action(menuid::kPrint)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(menu.action(menuid::kRvxDataDelete)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));

    frame.menu()->checkMarkerDisplay(menuid::kMarker2Only);
    EXPECT_FALSE(menu.action(menuid::kMarker1And2)->isChecked());
    EXPECT_TRUE(menu.action(menuid::kMarker2Only)->isChecked());
    // Every operation is enabled.
    for (int id :
         {menuid::kExit, menuid::kAbout, menuid::kDetailedTrace, menuid::kSave, menuid::kLoadPc,
          menuid::kLoadPcTraceOnly, menuid::kLoadPcParamOnly, menuid::kLoadRvx,
          menuid::kLoadRvxTraceOnly, menuid::kLoadRvxParamOnly, menuid::kRvxDataSave,
          menuid::kRvxDataDelete, menuid::kSetup, menuid::kColorEdit, menuid::kPrint,
          menuid::kCaptureSave, menuid::kCaptureClipboard, menuid::kHardCopy, menuid::kRecord}) {
        EXPECT_TRUE(menu.action(id)->isEnabled()) << id;
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
    EXPECT_EQ(about.windowTitle(), "Version information");
    EXPECT_EQ(about.titleLabel()->text(), "Orvel Version 1.11");
    EXPECT_EQ(about.modelLabel()->text(), " RVX420");
    EXPECT_EQ(about.versionLabel()->text(), "Version VER1.05");
    gSettings.modelIndex = 0;
    CAboutDlg about410;
    EXPECT_EQ(about410.modelLabel()->text(), " RVX410");
}

} // namespace
