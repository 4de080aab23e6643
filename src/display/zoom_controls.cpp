#include "zoom_controls.h"

#include <QComboBox>
#include <QLabel>

ZoomControls::ZoomControls(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    const QStringList factors = {QStringLiteral("x1"), QStringLiteral("x2"), QStringLiteral("x4"),
                                 QStringLiteral("x8")};
    xLabel = new QLabel(QStringLiteral("X"), this);
    xLabel->setGeometry(4, 2, 50, 15);
    xZoom = new QComboBox(this);
    xZoom->addItems(factors);
    xZoom->setGeometry(4, 19, 54, 23);
    yLabel = new QLabel(QStringLiteral("Y"), this);
    yLabel->setGeometry(64, 2, 50, 15);
    yZoom = new QComboBox(this);
    yZoom->addItems(factors);
    yZoom->setGeometry(64, 19, 54, 23);
    // The active trace combo sits 99 pixels from the panel's right edge.
    activeLabel = new QLabel(QStringLiteral("Active Trace"), this);
    activeLabel->setGeometry(142, 2, 90, 15);
    activeTrace = new QComboBox(this);
    for (int i = 1; i <= 10; ++i)
        activeTrace->addItem(QStringLiteral("Trace %1").arg(i));
    activeTrace->setGeometry(142, 19, 79, 23);
}
