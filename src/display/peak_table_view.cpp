#include "peak_table_view.h"

#include "display_model.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

PeakTableView::PeakTableView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("peakTable"));
    table = new QTableWidget(0, 4, this);
    table->setHorizontalHeaderLabels({QStringLiteral("Frequency"), QStringLiteral("Level"),
                                      QStringLiteral("Delta (dB)"), QString()});
    table->setColumnHidden(3, true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(20);
    countBox = new QSpinBox(this);
    countBox->setRange(1, display::kMaxPeakRows);
    countBox->setValue(display::kDefaultPeakRows);
    copyButton = new QPushButton(QStringLiteral("Copy"), this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Peaks"), this));
    controls->addWidget(countBox);
    controls->addStretch();
    controls->addWidget(copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(controls);
    layout->addWidget(table);

    connect(countBox, &QSpinBox::valueChanged, this, &PeakTableView::CountChanged);
    connect(copyButton, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(QString::fromStdString(Csv())); });
    connect(table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row >= 0 && row < static_cast<int>(rows_.size()))
            emit PeakActivated(rows_[static_cast<size_t>(row)].position);
    });
}

void PeakTableView::SetCount(int count) {
    countBox->setValue(count);
}

int PeakTableView::Count() const {
    return countBox->value();
}

void PeakTableView::Show(const std::vector<display::PeakRow>& rows, bool zeroSpan, const char* unit,
                         int decimals) {
    rows_ = rows;
    zeroSpan_ = zeroSpan;
    unit_ = unit;
    const QString unitText = QString::fromLatin1(unit);
    table->setHorizontalHeaderItem(0, new QTableWidgetItem(zeroSpan ? QStringLiteral("Time (s)")
                                                                    : QStringLiteral("Frequency")));
    table->setHorizontalHeaderItem(
        1, new QTableWidgetItem(QStringLiteral("Level (%1)").arg(unitText)));
    table->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        const display::PeakRow& r = rows[static_cast<size_t>(i)];
        const QString x = QString::fromStdString(display::FormatSi(r.x, 4, display::kAutoPrefix)) +
                          (zeroSpan ? QStringLiteral("s") : QStringLiteral("Hz"));
        const QString texts[3] = {x, QString::number(r.level, 'f', decimals),
                                  QString::number(r.delta, 'f', decimals)};
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* item = table->item(i, c);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                table->setItem(i, c, item);
            }
            item->setText(texts[c]);
        }
    }
}

std::string PeakTableView::Csv() const {
    return display::PeakTableCsv(rows_, zeroSpan_, unit_.c_str());
}
