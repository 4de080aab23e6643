#include "marker_conversion_dialog.h"

#include "level_units.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

MarkerConversionDialog::MarkerConversionDialog(int displayUnit, int conversionIndex,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Marker Conversion"));
    auto* group = new QGroupBox(this);
    logarithmic_ = new QRadioButton(QString::fromLatin1(conversionCaption(displayUnit, 0)), group);
    linear_ = new QRadioButton(QString::fromLatin1(conversionCaption(displayUnit, 1)), group);
    (conversionIndex == 0 ? logarithmic_ : linear_)->setChecked(true);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(logarithmic_);
    groupLayout->addWidget(linear_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

int MarkerConversionDialog::Choice() const {
    return linear_->isChecked() ? 1 : 0;
}
