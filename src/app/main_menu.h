#pragma once
// The main window's menu bar: every entry with its caption, command id, separators, check marks and
// the three working shortcuts. The entries are wired to their operations by the view.

#include <QHash>

class QAction;
class QMenu;
class QMenuBar;

class MainMenu {
public:
    // Fills an empty menu bar. Every entry starts enabled; "Detailed Trace(&D)" and
    // "Marker 1 and 2" start checked.
    explicit MainMenu(QMenuBar* bar);

    // The entry with this command id, or nullptr for an unknown id.
    QAction* action(int id) const { return actions_.value(id, nullptr); }
    const QHash<int, QAction*>& actions() const { return actions_; }

    // Puts `replacement` in place of the entry `id` (same menu, same position, same caption),
    // for entries whose check mark another part of the program keeps. The old entry is deleted.
    void adopt(int id, QAction* replacement);

    // The menu that holds the entry `id` (nullptr for an unknown id).
    QMenu* menuOf(int id) const { return menus_.value(id, nullptr); }

    // Checks one of the four "Marker Display" entries (32822..32825) and unchecks the others.
    void checkMarkerDisplay(int id);

private:
    QAction* addEntry(QMenu* menu, const char* caption, int id);

    QHash<int, QAction*> actions_;
    QHash<int, QMenu*> menus_;
};
