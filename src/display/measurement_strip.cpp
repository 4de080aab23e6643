#include "measurement_strip.h"

#include <QLabel>
#include <QLineEdit>

namespace {

QLineEdit* MakeEdit(QWidget* parent, int x, int distance, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(MeasurementStrip::StripGeometry(x, distance, width, 19));
    edit->setEnabled(false);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int x, int distance, int width) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(MeasurementStrip::StripGeometry(x, distance, width, 15));
    return label;
}

} // namespace

QRect MeasurementStrip::StripGeometry(int x, int distance, int width, int height) {
    return QRect(x, kHeight - distance, width, height);
}

MeasurementStrip::MeasurementStrip(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kMinWidth, kHeight);
    // The form's small font, so the fixed geometry holds the texts.
    QFont small = font();
    small.setPixelSize(10);
    setFont(small);
    unitLabel = MakeLabel(this, "dBm", 4, 49, 58);
    bandCenterLabel = MakeLabel(this, "Band Center", 80, 49, 76);
    bandWidthLabel = MakeLabel(this, "Band Width", 80, 28, 76);
    refCenterLabel = MakeLabel(this, "Reference Center", 234, 49, 88);
    refWidthLabel = MakeLabel(this, "Reference Width", 234, 28, 88);
    obwRatioLabel = MakeLabel(this, "N% Ratio", 399, 49, 52);
    obwDbLabel = MakeLabel(this, "XdB", 424, 28, 27);
    resultLabel = MakeLabel(this, "Result", 530, 28, 38);
    functionName = MakeLabel(this, "Meas OFF", 530, 53, 105);
    functionName->setFixedHeight(19);
    bandCenter = MakeEdit(this, 158, 53, 70);
    bandWidth = MakeEdit(this, 158, 33, 70);
    refCenter = MakeEdit(this, 324, 53, 70);
    refWidth = MakeEdit(this, 324, 33, 70);
    obwRatio = MakeEdit(this, 453, 53, 61);
    obwDb = MakeEdit(this, 453, 33, 61);
    result = MakeEdit(this, 569, 33, 140);
    result->setReadOnly(true);
    for (QLineEdit* edit : {bandCenter, bandWidth, refCenter, refWidth, obwRatio, obwDb})
        edit->setAlignment(Qt::AlignRight);
}
