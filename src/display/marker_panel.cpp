#include "marker_panel.h"

#include "modes.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

QLineEdit* MakeEdit(QWidget* parent, int x, int y, bool readOnly) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, y, 87, 19);
    edit->setReadOnly(readOnly);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int x, int y, int width = 100) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(x, y, width, 17);
    return label;
}

} // namespace

MarkerPanel::MarkerPanel(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    // Group boxes first, so the controls lie above them.
    // The form's small font, so the fixed geometry holds the texts.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    // Group boxes first, so the controls lie above them.
    marker1Group = new QGroupBox(QStringLiteral("Marker 1"), this);
    marker1Group->setGeometry(0, 42, kWidth, 58);
    marker2Group = new QGroupBox(QStringLiteral("Marker 2(Delta Reference)"), this);
    marker2Group->setGeometry(0, 100, kWidth, 53);
    peakGroup = new QGroupBox(QStringLiteral("Peak Search"), this);
    peakGroup->setGeometry(0, 153, kWidth, 77);

    auto* selectGroup = new QButtonGroup(this);
    marker1Select = new QRadioButton(this);
    marker1Select->setGeometry(6, 61, 16, 19);
    marker2Select = new QRadioButton(this);
    marker2Select->setGeometry(6, 113, 16, 19);
    selectGroup->addButton(marker1Select, 1);
    selectGroup->addButton(marker2Select, 2);

    marker1FreqLabel = MakeLabel(this, "Frequency(Hz)", 26, 62);
    marker1Freq = MakeEdit(this, 123, 61, false);
    marker1LevelLabel = MakeLabel(this, "Level(dBm)", 26, 81);
    marker1Level = MakeEdit(this, 123, 80, true);
    marker2FreqLabel = MakeLabel(this, "Frequency(Hz)", 26, 114);
    marker2Freq = MakeEdit(this, 123, 113, false);
    marker2LevelLabel = MakeLabel(this, "Level(dBm)", 26, 133);
    marker2Level = MakeEdit(this, 123, 132, true);

    auto* modeGroup = new QButtonGroup(this);
    normalPeak = new QRadioButton(QStringLiteral("Normal"), this);
    normalPeak->setGeometry(6, 167, 70, 16);
    zonePeak = new QRadioButton(QStringLiteral("Zone"), this);
    zonePeak->setGeometry(80, 167, 60, 16);
    modeGroup->addButton(normalPeak, 0);
    modeGroup->addButton(zonePeak, 1);
    peak = new QPushButton(QStringLiteral("Peak"), this);
    peak->setGeometry(6, 184, 52, 20);
    next = new QPushButton(QStringLiteral("Next"), this);
    next->setGeometry(6, 205, 52, 20);
    zoneCenterLabel = MakeLabel(this, "Center", 66, 186, 54);
    zoneCenter = MakeEdit(this, 123, 185, false);
    zoneWidthLabel = MakeLabel(this, "Width", 66, 206, 54);
    zoneWidth = MakeEdit(this, 123, 205, false);
}

void MarkerPanel::SetBlockEnabled(bool enabled, PeakMode peakMode) {
    for (QWidget* w : {static_cast<QWidget*>(marker1Select), static_cast<QWidget*>(marker2Select),
                       static_cast<QWidget*>(marker1Freq), static_cast<QWidget*>(marker1Level),
                       static_cast<QWidget*>(marker2Freq), static_cast<QWidget*>(marker2Level),
                       static_cast<QWidget*>(normalPeak), static_cast<QWidget*>(zonePeak)})
        w->setEnabled(enabled);
    EnablePeakControls(enabled, peakMode);
}

void MarkerPanel::ShowPeakMode(PeakMode peakMode) {
    (peakMode == PeakMode::Zone ? zonePeak : normalPeak)->setChecked(true);
    EnablePeakControls(true, peakMode);
}

void MarkerPanel::EnablePeakControls(bool enabled, PeakMode peakMode) {
    peak->setEnabled(enabled && peakMode == PeakMode::Normal);
    next->setEnabled(enabled && peakMode == PeakMode::Normal);
    zoneCenter->setEnabled(enabled && peakMode == PeakMode::Zone);
    zoneWidth->setEnabled(enabled && peakMode == PeakMode::Zone);
}
