#pragma once
// The column of summary texts shown in place of the panel in the compact layout.

#include "compact_summary.h"

#include <QWidget>

class QGroupBox;
class QLabel;

class CompactSummaryView : public QWidget {
    Q_OBJECT
public:
    explicit CompactSummaryView(QWidget* parent = nullptr);

    static constexpr int kWidth = 160;

    void Show(const display::CompactSummaryTexts& texts);
    // The caption and value labels, top to bottom (for tests and screen captures).
    QString TextAt(int row, int column) const;
    int RowCount() const { return kRows; }

private:
    static constexpr int kRows = 19;
    QLabel* captions_[kRows];
    QLabel* values_[kRows];
    QGroupBox* measureBox_ = nullptr; // titled "Measuring Mode"
};

namespace display {
// Shows the refusal of a command the compact layout cannot take; true when the caller must stop.
bool RefuseWhenCompact(QWidget* parent);
} // namespace display
