#include "number_select_dialog.h"

#include "instrument_settings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

const char* const CNumberSelectDlg::kRangeRefusal = "A setup of the range is not right.";

namespace {

constexpr int kLowest = 0;
constexpr int kHighest = 99;

// The spin beside an edit: its arrows step the number shown in the edit.
QScrollBar* MakeSpin(QLineEdit* edit, QWidget* parent) {
    auto* spin = new QScrollBar(Qt::Vertical, parent);
    spin->setRange(kLowest, kHighest);
    spin->setInvertedAppearance(true);
    spin->setInvertedControls(true);
    spin->setFixedHeight(edit->sizeHint().height());
    QObject::connect(spin, &QScrollBar::valueChanged, edit,
                     [edit](int value) { edit->setText(QString::number(value)); });
    QObject::connect(edit, &QLineEdit::textEdited, spin, [spin](const QString& text) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (ok && value >= kLowest && value <= kHighest) {
            const QSignalBlocker block(spin);
            spin->setValue(value);
        }
    });
    return spin;
}

// The edit's number; false for a text that is no decimal number.
bool ReadNumber(const QLineEdit* edit, int* value) {
    bool ok = false;
    *value = edit->text().trimmed().toInt(&ok, 10);
    return ok;
}

bool InRange(int n) {
    return n >= kLowest && n <= kHighest;
}

} // namespace

CNumberSelectDlg::CNumberSelectDlg(QWidget* parent)
    : QDialog(parent), form_(gSettings.memorySelectKind) {
    setWindowTitle(QStringLiteral("Save number select"));
    startLabel_ = new QLabel(QStringLiteral("Start number"), this);
    endLabel_ = new QLabel(QStringLiteral("End number"), this);
    startEdit_ = new QLineEdit(this);
    endEdit_ = new QLineEdit(this);
    startEdit_->setMaxLength(8);
    endEdit_->setMaxLength(8);
    startSpin_ = MakeSpin(startEdit_, this);
    endSpin_ = MakeSpin(endEdit_, this);
    traceBox_ = new QCheckBox(QStringLiteral("Trace"), this);
    paramBox_ = new QCheckBox(QStringLiteral("Param"), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNumberSelectDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(startLabel_, 0, 0);
    grid->addWidget(startEdit_, 0, 1);
    grid->addWidget(startSpin_, 0, 2);
    grid->addWidget(endLabel_, 1, 0);
    grid->addWidget(endEdit_, 1, 1);
    grid->addWidget(endSpin_, 1, 2);
    grid->addWidget(traceBox_, 2, 0);
    grid->addWidget(paramBox_, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    traceBox_->hide();
    paramBox_->hide();
    int start = 0;
    int end = kHighest;
    if (form_ == kFormSave) {
        start = gSettings.memoryRangeStart;
        end = gSettings.memoryRangeEnd;
    } else if (form_ == kFormDelete) {
        setWindowTitle(QStringLiteral("Delete number select"));
        traceBox_->show();
        paramBox_->show();
        traceBox_->setChecked(true);
    } else {
        setWindowTitle(QStringLiteral("Load number select"));
        startLabel_->hide();
        endLabel_->hide();
        endEdit_->hide();
        endSpin_->hide();
    }
    startEdit_->setText(QString::number(start));
    endEdit_->setText(QString::number(end));
    startSpin_->setValue(InRange(start) ? start : 0);
    endSpin_->setValue(InRange(end) ? end : kHighest);
    startEdit_->selectAll();
    startEdit_->setFocus();
}

bool CNumberSelectDlg::TakeNumbers() {
    int start = 0;
    int end = 0;
    bool ok = ReadNumber(startEdit_, &start) && InRange(start);
    if (ok && form_ != kFormLoad) {
        ok = ReadNumber(endEdit_, &end) && InRange(end) && end >= start;
    }
    if (!ok) {
        return false;
    }
    gSettings.memoryRangeStart = start;
    if (form_ != kFormLoad) {
        gSettings.memoryRangeEnd = end;
    }
    gSettings.memorySelectKind =
        (traceBox_->isChecked() ? 1 : 0) + (paramBox_->isChecked() ? 2 : 0);
    return true;
}

void CNumberSelectDlg::accept() {
    if (!TakeNumbers()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Orvel"),
                        QString::fromLatin1(kRangeRefusal), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    QDialog::accept();
}
