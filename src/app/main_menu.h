#pragma once
// The main window's menu bar: every entry with its caption, command id, separators, check marks and
// the three working shortcuts. The entries are wired to their operations by the view.

#include <QHash>

class QAction;
class QMenuBar;

class MainMenu {
public:
    // Fills an empty menu bar. Every entry starts enabled; "Detailed Trace(&D)" and
    // "Marker 1 and 2" start checked.
    explicit MainMenu(QMenuBar* bar);

    // The entry with this command id, or nullptr for an unknown id.
    QAction* action(int id) const { return actions_.value(id, nullptr); }
    const QHash<int, QAction*>& actions() const { return actions_; }

    // Checks one of the four "Marker Display" entries (32822..32825) and unchecks the others.
    void checkMarkerDisplay(int id);

private:
    QHash<int, QAction*> actions_;
};
