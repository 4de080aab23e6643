#include "compact_summary_view.h"

#include "instrument_settings.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>

namespace {

// Rows: y of each caption; groups: the boxes around them.
constexpr int kRowY[] = {15,  27,  39,  51,  85,  97,  109, 121, 133, 165,
                         177, 211, 245, 270, 285, 300, 315, 330, 345};
struct Box {
    int y, height;
};
constexpr Box kBoxes[] = {{0, 70}, {70, 82}, {150, 46}, {196, 34}, {230, 34}, {260, 107}};

} // namespace

CompactSummaryView::CompactSummaryView(QWidget* parent) : QWidget(parent) {
    setFixedWidth(kWidth);
    setMinimumHeight(370);
    for (const Box& box : kBoxes) {
        auto* group = new QGroupBox(this);
        group->setGeometry(0, box.y, kWidth, box.height);
        if (box.y == 230)
            measureBox_ = group;
    }
    for (int i = 0; i < kRows; ++i) {
        captions_[i] = new QLabel(this);
        values_[i] = new QLabel(this);
        captions_[i]->setGeometry(5, kRowY[i], 150, 15);
        values_[i]->setGeometry(80, kRowY[i], 75, 15);
        values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void CompactSummaryView::Show(const display::CompactSummaryTexts& t) {
    const display::CompactLine* lines[kRows] = {};
    display::CompactLine calc{t.calcMode, {}};
    display::CompactLine name{t.measureName, {}};
    display::CompactLine result{t.result, {}};
    display::CompactLine empty;
    int i = 0;
    for (const auto& l : t.frequency)
        lines[i++] = &l;
    for (const auto& l : t.level)
        lines[i++] = &l;
    for (const auto& l : t.sweep)
        lines[i++] = &l;
    lines[i++] = &calc;
    lines[i++] = &name;
    for (const auto& l : t.measureRows)
        lines[i++] = &l;
    lines[i++] = &empty;
    lines[i++] = &result;
    for (int r = 0; r < kRows; ++r) {
        captions_[r]->setText(QString::fromStdString(lines[r]->caption));
        values_[r]->setText(QString::fromStdString(lines[r]->value));
    }
    measureBox_->setTitle(QString::fromStdString(t.measureTitle));
}

QString CompactSummaryView::TextAt(int row, int column) const {
    if (row < 0 || row >= kRows)
        return {};
    return (column == 0 ? captions_[row] : values_[row])->text();
}

bool display::RefuseWhenCompact(QWidget* parent) {
    if (gSettings.compactMode == 0)
        return false;
    QMessageBox::warning(parent, QApplication::applicationDisplayName(),
                         QStringLiteral("When a window is small it is not able to use it."));
    return true;
}
