#pragma once
// The horizontal and vertical zoom combos and the active trace combo, at the top of the panel
// column. It only shows and collects; TraceDisplay acts on it.

#include <QWidget>

class QComboBox;
class QLabel;

class ZoomControls : public QWidget {
    Q_OBJECT
public:
    explicit ZoomControls(QWidget* parent = nullptr);

    static constexpr int kWidth = 236;
    static constexpr int kHeight = 44;

    QComboBox* xZoom;       // "X": "x1" "x2" "x4" "x8"
    QComboBox* yZoom;       // "Y": "x1" .. "x8"
    QComboBox* activeTrace; // "Active Trace": "Trace 1" .. "Trace 10"
    QLabel* xLabel;         // "X"
    QLabel* yLabel;         // "Y"
    QLabel* activeLabel;    // "Active Trace"
};
