#pragma once
// The peak table's contents: how many peaks, the rows, "Copy" to the clipboard as CSV, and a
// double-click that asks for marker 1 on a peak.

#include "peak_table.h"

#include <QWidget>

class QPushButton;
class QSpinBox;
class QTableWidget;

class PeakTableView : public QWidget {
    Q_OBJECT
public:
    explicit PeakTableView(QWidget* parent = nullptr);

    // Shows the rows; levels with `decimals` decimals in `unit`, X as frequency or time.
    void Show(const std::vector<display::PeakRow>& rows, bool zeroSpan, const char* unit,
              int decimals);
    void SetCount(int count);
    int Count() const;
    // The shown table as CSV (what "Copy" puts on the clipboard).
    std::string Csv() const;

    QTableWidget* table = nullptr;
    QSpinBox* countBox = nullptr;
    QPushButton* copyButton = nullptr;

signals:
    void CountChanged(int count);
    // Display position of the double-clicked peak.
    void PeakActivated(int position);

private:
    std::vector<display::PeakRow> rows_;
    bool zeroSpan_ = false;
    std::string unit_ = "dBm";
};
