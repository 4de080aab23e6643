#pragma once
// "Marker Conversion": whether the marker levels read out logarithmically (dBm, dBuV, ...) or
// linearly (W, uV, ...). The captions follow the unit of the trace shown.

#include <QDialog>

class QRadioButton;

class MarkerConversionDialog : public QDialog {
    Q_OBJECT
public:
    // `displayUnit` 0..5 names the captions; `conversionIndex` 0 checks the logarithmic choice.
    MarkerConversionDialog(int displayUnit, int conversionIndex, QWidget* parent = nullptr);

    // 0 logarithmic, 1 linear.
    int Choice() const;
    QRadioButton* logarithmic() const { return logarithmic_; }
    QRadioButton* linear() const { return linear_; }

private:
    QRadioButton* logarithmic_;
    QRadioButton* linear_;
};
