#include "measuring_function_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox* MakeGroup(const char* title, QRadioButton* const* radios, int count, QWidget* parent) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    auto* layout = new QVBoxLayout(group);
    for (int i = 0; i < count; ++i)
        layout->addWidget(radios[i]);
    layout->addStretch();
    return group;
}

} // namespace

MeasuringFunctionDialog::MeasuringFunctionDialog(const display::MeasureChoice& current,
                                                 const display::MeasureDialogRules& rules,
                                                 QWidget* parent)
    : QDialog(parent), current_(current) {
    setWindowTitle(QStringLiteral("Measuring Function"));
    auto radio = [this](const char* text) {
        return new QRadioButton(QString::fromLatin1(text), this);
    };
    cpRadio[0] = radio("Total");
    cpRadio[1] = radio("Band");
    acpRadio[0] = radio("Total");
    acpRadio[1] = radio("Band");
    acpRadio[2] = radio("Peak");
    obwRadio[0] = radio("N% Ratio");
    obwRadio[1] = radio("XdB Down");
    static const char* const kAntennaNames[7] = {"AT11", "AT12", "AT13", "AT14",
                                                 "USER", "AT15", "AT16"};
    for (int i = 0; i < 7; ++i)
        antennaRadio[i] = radio(kAntennaNames[i]);
    probeRadio[0] = radio("PR-7Q");
    probeRadio[1] = radio("USER");
    counterRadio = radio("Frequency Counter");
    offRadio = radio("Meas OFF");

    auto* exclusive = new QButtonGroup(this);
    for (QRadioButton* r : findChildren<QRadioButton*>())
        exclusive->addButton(r);

    // The antenna list shows AT15 and AT16 before the user table.
    QRadioButton* const antennaOrder[7] = {antennaRadio[0], antennaRadio[1], antennaRadio[2],
                                           antennaRadio[3], antennaRadio[5], antennaRadio[6],
                                           antennaRadio[4]};
    auto* grid = new QGridLayout;
    grid->addWidget(MakeGroup("Channel Power", cpRadio, 2, this), 0, 0);
    grid->addWidget(MakeGroup("Adj Ch Power", acpRadio, 3, this), 0, 1);
    grid->addWidget(MakeGroup("Occ BW", obwRadio, 2, this), 0, 2);
    grid->addWidget(MakeGroup("E/F Antenna", antennaOrder, 7, this), 1, 0);
    grid->addWidget(MakeGroup("M/F Probe", probeRadio, 2, this), 1, 1);
    grid->addWidget(MakeGroup("FC", &counterRadio, 1, this), 1, 2);
    grid->addWidget(offRadio, 2, 0);

    for (QRadioButton* r :
         {cpRadio[0], cpRadio[1], acpRadio[0], acpRadio[1], acpRadio[2], obwRadio[0], obwRadio[1]})
        r->setEnabled(rules.bandFunctions);
    antennaRadio[6]->setEnabled(rules.at16Enabled);
    antennaRadio[6]->setVisible(rules.at16Visible);
    counterRadio->setEnabled(rules.frequencyCounter);

    auto clampIndex = [](int v, int count) { return v < 0 ? 0 : (v >= count ? count - 1 : v); };
    switch (current.function) {
    case MeasureFunction::ChannelPower:
        cpRadio[clampIndex(current.cpMode, 2)]->setChecked(true);
        break;
    case MeasureFunction::AdjacentChannel:
        acpRadio[clampIndex(current.acpMode, 3)]->setChecked(true);
        break;
    case MeasureFunction::OccupiedBandwidth:
        obwRadio[clampIndex(current.obwMode, 2)]->setChecked(true);
        break;
    case MeasureFunction::ElectricField:
        antennaRadio[clampIndex(current.antennaIndex, 7)]->setChecked(true);
        break;
    case MeasureFunction::MagneticField:
        probeRadio[clampIndex(current.probeIndex, 2)]->setChecked(true);
        break;
    case MeasureFunction::FrequencyCounter:
        counterRadio->setChecked(true);
        break;
    default:
        offRadio->setChecked(true);
        break;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

display::MeasureChoice MeasuringFunctionDialog::Choice() const {
    display::MeasureChoice c = current_;
    for (int i = 0; i < 2; ++i)
        if (cpRadio[i]->isChecked())
            c.function = MeasureFunction::ChannelPower, c.cpMode = i;
    for (int i = 0; i < 3; ++i)
        if (acpRadio[i]->isChecked())
            c.function = MeasureFunction::AdjacentChannel, c.acpMode = i;
    for (int i = 0; i < 2; ++i)
        if (obwRadio[i]->isChecked())
            c.function = MeasureFunction::OccupiedBandwidth, c.obwMode = i;
    for (int i = 0; i < 7; ++i)
        if (antennaRadio[i]->isChecked())
            c.function = MeasureFunction::ElectricField, c.antennaIndex = i;
    for (int i = 0; i < 2; ++i)
        if (probeRadio[i]->isChecked())
            c.function = MeasureFunction::MagneticField, c.probeIndex = i;
    if (counterRadio->isChecked())
        c.function = MeasureFunction::FrequencyCounter;
    if (offRadio->isChecked())
        c.function = MeasureFunction::Off;
    return c;
}
