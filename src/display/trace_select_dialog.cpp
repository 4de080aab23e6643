#include "trace_select_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

TraceSelectDialog::TraceSelectDialog(int activeTraceSlot, const int traceView[11], QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Trace Select"));
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 10; ++i) {
        initialView_[i] = traceView[i] != 0 ? 1 : 0;
        radios_[i - 1] = new QRadioButton(QStringLiteral("Trace%1").arg(i), this);
        boxes_[i - 1] = new QCheckBox(QStringLiteral("View"), this);
        radios_[i - 1]->setChecked(i == activeTraceSlot);
        boxes_[i - 1]->setChecked(initialView_[i] != 0);
        grid->addWidget(radios_[i - 1], i - 1, 0);
        grid->addWidget(boxes_[i - 1], i - 1, 1);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

int TraceSelectDialog::ActiveTraceSlot() const {
    for (int i = 0; i < 10; ++i)
        if (radios_[i]->isChecked())
            return i + 1;
    return 1;
}

void TraceSelectDialog::ViewFlags(int traceView[11]) const {
    bool any = false;
    for (int i = 0; i < 10; ++i)
        any = any || boxes_[i]->isChecked();
    for (int i = 1; i <= 10; ++i)
        traceView[i] = any ? (boxes_[i - 1]->isChecked() ? 1 : 0) : initialView_[i];
}
