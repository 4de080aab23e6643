#pragma once
// The panel's widgets by name, and helpers that drive them the way a user does.

#include "control_panel.h"
#include "instrument_settings.h"
#include "qt_support.h"
#include "widget_lookup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace paneltest {

// The panel's controls, found by name under `root` (the panel or a window holding it).
struct PanelControls {
    explicit PanelControls(QObject* panelRoot) : root(panelRoot) {}
    template <class W> W* Find(const char* name) const { return orvel::test::Child<W>(root, name); }

    QObject* root;
    QLineEdit* centerEdit = Find<QLineEdit>("centerEdit");
    QComboBox* spanCombo = Find<QComboBox>("spanCombo");
    QComboBox* rbwCombo = Find<QComboBox>("rbwCombo");
    QCheckBox* rbwAutoBox = Find<QCheckBox>("rbwAutoBox");
    QComboBox* vbwCombo = Find<QComboBox>("vbwCombo");
    QCheckBox* vbwAutoBox = Find<QCheckBox>("vbwAutoBox");
    QLineEdit* refLevelEdit = Find<QLineEdit>("refLevelEdit");
    QSpinBox* refLevelSpin = Find<QSpinBox>("refLevelSpin");
    QLineEdit* offsetEdit = Find<QLineEdit>("offsetEdit");
    QSpinBox* offsetSpin = Find<QSpinBox>("offsetSpin");
    QComboBox* unitCombo = Find<QComboBox>("unitCombo");
    QComboBox* scaleCombo = Find<QComboBox>("scaleCombo");
    QComboBox* sweepCombo = Find<QComboBox>("sweepCombo");
    QCheckBox* sweepAutoBox = Find<QCheckBox>("sweepAutoBox");
    QComboBox* calcCombo = Find<QComboBox>("calcCombo");
    QComboBox* countCombo = Find<QComboBox>("countCombo");
    QComboBox* impedanceCombo = Find<QComboBox>("impedanceCombo");
    QPushButton* holdButton = Find<QPushButton>("holdButton");
    QPushButton* autoTuneButton = Find<QPushButton>("autoTuneButton");
};

// Types `text` into the edit (replacing what it held) without pressing Return.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
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

// What a control shows: an edit's or a label's text, a list's current entry, a button's caption.
inline QString TextOf(QObject* root, const char* name) {
    QObject* control = orvel::test::Child<QWidget>(root, name);
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    return control->property("text").toString();
}

using Shown = std::vector<std::pair<const char*, QString>>;

inline void ExpectShown(QObject* root, const Shown& shown, const std::string& after = "") {
    for (const auto& [name, text] : shown)
        EXPECT_EQ(TextOf(root, name), text) << after << ": " << name;
}

// A user's action on a named edit (typed, Return) or list (chosen), what it sends and then shows.
struct Step {
    const char* control;
    QString value;
    std::vector<std::string> sent;
    Shown shown;
};

// Takes the steps in turn; `takeSent` hands back what went out since its last call.
inline void Walk(QObject* root, const std::vector<Step>& steps,
                 const std::function<std::vector<std::string>()>& takeSent) {
    for (const Step& step : steps) {
        QObject* control = orvel::test::Child<QWidget>(root, step.control);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            Enter(edit, step.value);
        else
            ASSERT_TRUE(Choose(qobject_cast<QComboBox*>(control), step.value)) << step.control;
        const std::string what = std::string(step.control) + " " + step.value.toStdString();
        EXPECT_EQ(takeSent(), step.sent) << what;
        ExpectShown(root, step.shown, what);
    }
}

} // namespace paneltest
