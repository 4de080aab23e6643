// The main window without an analyzer link: geometry, menus and the About box.

#include "about_dialog.h"
#include "app_session.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace {

// A menu's entries in order: "-" a separator, "name>[...]" a submenu, then shortcut and check mark.
QStringList Entries(const QWidget* menu) {
    QStringList entries;
    for (QAction* action : menu->actions()) {
        QString entry = action->isSeparator() ? QStringLiteral("-") : action->text();
        if (action->menu() != nullptr)
            entry += ">[" + Entries(action->menu()).join('|') + ']';
        if (!action->shortcut().isEmpty())
            entry += ' ' + action->shortcut().toString();
        if (action->isCheckable())
            entry += action->isChecked() ? " [x]" : " [ ]";
        entries << entry;
    }
    return entries;
}

TEST(MainMenuTest, FrameMenusCheckMarksAndShortcuts) {
    EnsureApplication();
    CMainFrame frame;
    EXPECT_EQ(std::make_pair(frame.minimumSize(), frame.geometry().size()),
              std::make_pair(QSize(360, 255), QSize(1024, 768)));
    EXPECT_TRUE(frame.findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(frame.findChild<QStatusBar*>() == nullptr);
    // clang-format off
    EXPECT_EQ(Entries(frame.menuBar()).join('\n').toStdString(),
        "File(&F)>[Load RVX>[Load(&L)...|Load Trace Only(&T)...|Load Param Only(&P)...]"
            "|Load PC>[Load(&L)...|Load Trace Only(&T)...|Load Param Only(&P)...]|-|Save(&S)... Ctrl+S"
            "|RVX Data Save(&A)...|-|RVX Data Delete(&D)... Ctrl+D|Write E/F User Data(&E)..."
            "|Write M/F User Data(&M)...|-|Print(&P)... Ctrl+P|-|Screen Capture(&C)>[Save(&S)...|Clip board(&C)]"
            "|Hard Copy(&H)...|Record... [ ]|-|Exit(&X)]\n"
        "Control(&C)>[Trace Select(&T)...|All Reading(&R)|All Setting(&S)|Conversion(&C)...|Preset(&P)"
            "|Auto Tune(A)|Hold/Run(&H)|Measuring Function(&M)...|Marker to CF|Remote(&E) [ ]"
            "|Marker Display>[Marker 1 and 2 [x]|Marker 1 Only [ ]|Marker 2 Only [ ]|Marker None [ ]]]\n"
        "Option(&O)>[Setup(&S)...|Color Edit(&C)...|Detailed Trace(&D) [ ]]\n"
        "View(&V)>[Waterfall [ ]|Peak Table [ ]|Limit Lines... [ ]]\n"
        "Help(&H)>[Help(&H)...|About(&A)...]");
    // clang-format on
    const MainMenu& menu = *frame.menu();
    EXPECT_EQ(menu.actions().size(), 36); // the 35 specified entries and "Record..."
    for (QAction* action : menu.actions())
        EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
    frame.menu()->checkMarkerDisplay(menuid::kMarker2Only);
    EXPECT_EQ(std::make_pair(menu.action(menuid::kMarker1And2)->isChecked(),
                             menu.action(menuid::kMarker2Only)->isChecked()),
              std::make_pair(false, true));
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
