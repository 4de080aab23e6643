#pragma once
// The panel's widgets by name, and helpers that drive them the way a user does. Brings the panel
// and the Qt widget classes the tests reach through it.

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

#include <memory>
#include <optional>
#include <random>

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
    QLabel* referenceLabel = Find<QLabel>("referenceLabel");
    QLineEdit* refLevelEdit = Find<QLineEdit>("refLevelEdit");
    QSpinBox* refLevelSpin = Find<QSpinBox>("refLevelSpin");
    QLineEdit* offsetEdit = Find<QLineEdit>("offsetEdit");
    QSpinBox* offsetSpin = Find<QSpinBox>("offsetSpin");
    QLineEdit* attenuatorReadout = Find<QLineEdit>("attenuatorReadout");
    QComboBox* unitCombo = Find<QComboBox>("unitCombo");
    QComboBox* scaleCombo = Find<QComboBox>("scaleCombo");
    QComboBox* sweepCombo = Find<QComboBox>("sweepCombo");
    QCheckBox* sweepAutoBox = Find<QCheckBox>("sweepAutoBox");
    QComboBox* detectorCombo = Find<QComboBox>("detectorCombo");
    QComboBox* calcCombo = Find<QComboBox>("calcCombo");
    QComboBox* countCombo = Find<QComboBox>("countCombo");
    QComboBox* impedanceCombo = Find<QComboBox>("impedanceCombo");
    QComboBox* markerModeCombo = Find<QComboBox>("markerModeCombo");
    QPushButton* holdButton = Find<QPushButton>("holdButton");
    QPushButton* autoTuneButton = Find<QPushButton>("autoTuneButton");
};

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

// Pastes the same random text (up to maxLength characters of `alphabet`) into the centre,
// reference and offset edits and presses Return in each; returns the text.
inline QString PasteRandomText(const PanelControls& ui, std::mt19937& random,
                               const QString& alphabet, int maxLength) {
    QString text;
    const int length = static_cast<int>(random() % static_cast<unsigned>(maxLength));
    for (int i = 0; i < length; ++i)
        text += alphabet[static_cast<int>(random() % alphabet.size())];
    for (QLineEdit* edit : {ui.centerEdit, ui.refLevelEdit, ui.offsetEdit}) {
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    return text;
}

inline QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

} // namespace paneltest
