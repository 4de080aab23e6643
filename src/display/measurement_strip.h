#pragma once
// The strip under the graph: the unit label, the measuring function's name, the parameter
// captions and edits, and the result box. It only shows and collects; TraceDisplay acts on it.

#include <QWidget>

class QLabel;
class QLineEdit;

class MeasurementStrip : public QWidget {
    Q_OBJECT
public:
    explicit MeasurementStrip(QWidget* parent = nullptr);

    static constexpr int kHeight = 55; // placed with its top edge kHeight above the bottom
    static constexpr int kMinWidth = 712;

    QLabel* unitLabel;       // the unit under the graph: "dBm"
    QLabel* functionName;    // "Meas OFF", "Channel Power", ...
    QLabel* bandCenterLabel; // "Band Center" / "Adj Ch Offset"
    QLabel* bandWidthLabel;  // "Band Width" / "Adj Ch Width"
    QLabel* refCenterLabel;  // "Reference Center"
    QLabel* refWidthLabel;   // "Reference Width"
    QLabel* obwRatioLabel;   // "N% Ratio"
    QLabel* obwDbLabel;      // "XdB"
    QLabel* resultLabel;     // "Result"
    QLineEdit* bandCenter;   // "Band Center" / "Adj Ch Offset"
    QLineEdit* bandWidth;    // "Band Width" / "Adj Ch Width"
    QLineEdit* refCenter;    // "Reference Center"
    QLineEdit* refWidth;     // "Reference Width"
    QLineEdit* obwRatio;     // "N% Ratio"
    QLineEdit* obwDb;        // "XdB"
    QLineEdit* result;       // "Result", read-only

    // Places a control by its left edge and the distance of its top edge from the strip's bottom.
    static QRect StripGeometry(int x, int distance, int width, int height);
};
