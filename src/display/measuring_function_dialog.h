#pragma once
// "Measuring Function": one radio per function and sub-mode, with the choices the span and the
// model do not allow disabled.

#include "measurement_bands.h"

#include <QDialog>

class QRadioButton;

class MeasuringFunctionDialog : public QDialog {
    Q_OBJECT
public:
    MeasuringFunctionDialog(const display::MeasureChoice& current,
                            const display::MeasureDialogRules& rules, QWidget* parent = nullptr);

    // The current choice with the checked radio's function and sub-mode.
    display::MeasureChoice Choice() const;

    QRadioButton* cpRadio[2];      // "Total", "Band"
    QRadioButton* acpRadio[3];     // "Total", "Band", "Peak"
    QRadioButton* obwRadio[2];     // "N% Ratio", "XdB Down"
    QRadioButton* antennaRadio[7]; // by antenna index: AT11..AT14, USER, AT15, AT16
    QRadioButton* probeRadio[2];   // "PR-7Q", "USER"
    QRadioButton* counterRadio;    // "Frequency Counter"
    QRadioButton* offRadio;        // "Meas OFF"

private:
    display::MeasureChoice current_;
};
