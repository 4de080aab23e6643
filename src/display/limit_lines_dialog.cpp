#include "limit_lines_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using display::LimitCleanup;
using display::LimitLine;

namespace {
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024; // far more than 1000 points need
const char* const kNames[2] = {"Upper", "Lower"};
} // namespace

LimitLinesDialog::LimitLinesDialog(const LimitLine& upper, const LimitLine& lower, bool on,
                                   QWidget* parent)
    : QDialog(parent), upper_(upper), lower_(lower) {
    setWindowTitle(QStringLiteral("Limit Lines"));
    setObjectName(QStringLiteral("limitLinesDialog"));
    auto* grid = new QGridLayout;
    for (int which = 0; which < 2; ++which) {
        QTableWidget* t = new QTableWidget(0, 2, this);
        t->setHorizontalHeaderLabels({QStringLiteral("Frequency (Hz)"), QStringLiteral("Level")});
        t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        t->verticalHeader()->setDefaultSectionSize(20);
        tables[which] = t;
        auto* add = new QPushButton(QStringLiteral("Add"), this);
        auto* remove = new QPushButton(QStringLiteral("Remove"), this);
        auto* load = new QPushButton(QStringLiteral("Load..."), this);
        auto* save = new QPushButton(QStringLiteral("Save..."), this);
        connect(add, &QPushButton::clicked, this, [t] { t->insertRow(t->rowCount()); });
        connect(remove, &QPushButton::clicked, this, [t] {
            if (t->currentRow() >= 0)
                t->removeRow(t->currentRow());
        });
        connect(load, &QPushButton::clicked, this, [this, which] {
            const QString path = QFileDialog::getOpenFileName(
                this, QStringLiteral("Load limit line"), QString(),
                QStringLiteral("Limit line (*.csv *.txt);;All files (*)"));
            if (!path.isEmpty())
                LoadFile(which, path);
        });
        connect(save, &QPushButton::clicked, this, [this, which] {
            const QString path =
                QFileDialog::getSaveFileName(this, QStringLiteral("Save limit line"), QString(),
                                             QStringLiteral("Limit line (*.csv)"));
            if (!path.isEmpty())
                SaveFile(which, path);
        });
        auto* buttons = new QHBoxLayout;
        for (QPushButton* b : {add, remove, load, save})
            buttons->addWidget(b);
        grid->addWidget(new QLabel(QString::fromLatin1(kNames[which]) +
                                       QStringLiteral(" limit (levels in the displayed unit)"),
                                   this),
                        0, which);
        grid->addWidget(t, 1, which);
        grid->addLayout(buttons, 2, which);
    }
    Fill(0, upper);
    Fill(1, lower);
    judgeBox = new QCheckBox(QStringLiteral("Judge every trace against these lines"), this);
    judgeBox->setChecked(on);
    status = new QLabel(this);
    status->setWordWrap(true);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &LimitLinesDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &LimitLinesDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(judgeBox);
    layout->addWidget(status);
    layout->addWidget(box);
    resize(560, 420);
}

bool LimitLinesDialog::JudgeOn() const {
    return judgeBox->isChecked();
}

void LimitLinesDialog::Fill(int which, const LimitLine& line) {
    QTableWidget* t = tables[which];
    t->setRowCount(static_cast<int>(line.size()));
    for (int i = 0; i < static_cast<int>(line.size()); ++i) {
        const display::LimitPoint& p = line[static_cast<size_t>(i)];
        t->setItem(i, 0, new QTableWidgetItem(QString::number(p.frequency, 'g', 10)));
        t->setItem(i, 1, new QTableWidgetItem(QString::number(p.level, 'g', 10)));
    }
}

LimitCleanup LimitLinesDialog::Read(int which) const {
    // The rows go through the file reader, so a table and a file follow the same rules.
    const QTableWidget* t = tables[which];
    std::string text;
    for (int i = 0; i < t->rowCount(); ++i) {
        const QTableWidgetItem* f = t->item(i, 0);
        const QTableWidgetItem* l = t->item(i, 1);
        const QString fText = f ? f->text().trimmed() : QString();
        const QString lText = l ? l->text().trimmed() : QString();
        if (fText.isEmpty() && lText.isEmpty())
            text += "\n"; // an empty row is skipped, and keeps the row numbers
        else
            text += (fText + QLatin1Char(',') + lText).toStdString() + "\n";
    }
    LimitCleanup result = display::ParseLimitCsv(text);
    if (!result.ok && result.message.rfind("Line ", 0) == 0)
        result.message.replace(0, 4, "Row");
    return result;
}

QString LimitLinesDialog::LoadFile(int which, const QString& path) {
    QFile file(path);
    QString message;
    if (!file.open(QIODevice::ReadOnly)) {
        message = QStringLiteral("This file can not be opened.");
    } else if (file.size() > kMaxFileBytes) {
        message = QStringLiteral("The file is too large for a limit line.");
    } else {
        const QByteArray bytes = file.readAll();
        const LimitCleanup result =
            display::ParseLimitCsv(std::string_view(bytes.constData(), bytes.size()));
        message = QString::fromStdString(result.message);
        if (result.ok)
            Fill(which, result.line);
    }
    status->setText(message.isEmpty()
                        ? QString()
                        : QString::fromLatin1(kNames[which]) + QStringLiteral(": ") + message);
    return message;
}

bool LimitLinesDialog::SaveFile(int which, const QString& path) {
    const LimitCleanup result = Read(which);
    if (!result.ok) {
        status->setText(QString::fromStdString(result.message));
        return false;
    }
    QFile file(path);
    const std::string text = display::LimitCsv(result.line);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size())) {
        QMessageBox::warning(this, QStringLiteral("Write error"),
                             QStringLiteral("Save went wrong."));
        return false;
    }
    return true;
}

void LimitLinesDialog::accept() {
    const LimitCleanup upper = Read(0);
    const LimitCleanup lower = Read(1);
    for (int which = 0; which < 2; ++which) {
        const LimitCleanup& r = which == 0 ? upper : lower;
        if (!r.ok) {
            status->setText(QString::fromLatin1(kNames[which]) + QStringLiteral(": ") +
                            QString::fromStdString(r.message));
            tables[which]->setFocus();
            return;
        }
    }
    upper_ = upper.line;
    lower_ = lower.line;
    QDialog::accept();
}
