#pragma once
// Helpers that drive the panel's widgets the way a user does.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace paneltest {

// The QApplication of this test process (each test case runs in its own process).
inline void EnsureApplication() {
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "panel_test";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

// Types `text` into the edit (replacing what it held) without pressing Return.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!text.isEmpty())
        QTest::keyClicks(edit, text);
}

// Types `text` and presses Return.
inline void Enter(QLineEdit* edit, const QString& text) {
    TypeInto(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Picks the list entry with this caption as the user does; returns false when it is absent.
inline bool Choose(QComboBox* combo, const QString& caption) {
    const int index = combo->findText(caption);
    if (index < 0)
        return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

inline QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace paneltest
