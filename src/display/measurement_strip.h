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

    QLabel* unitLabel;       // 1075
    QLabel* functionName;    // 1106
    QLabel* bandCenterLabel; // 1067 "Band Center" / "Adj Ch Offset"
    QLabel* bandWidthLabel;  // 1073 "Band Width" / "Adj Ch Width"
    QLabel* refCenterLabel;  // 1172 "Reference Center"
    QLabel* refWidthLabel;   // 1173 "Reference Width"
    QLabel* obwRatioLabel;   // 1174 "N% Ratio"
    QLabel* obwDbLabel;      // 1175 "XdB"
    QLabel* resultLabel;     // 1176 "Result"
    QLineEdit* bandCenter;   // 1068
    QLineEdit* bandWidth;    // 1069
    QLineEdit* refCenter;    // 1070
    QLineEdit* refWidth;     // 1071
    QLineEdit* obwRatio;     // 1078
    QLineEdit* obwDb;        // 1079
    QLineEdit* result;       // 1072, read-only

    // Places a control by its left edge and the distance of its top edge from the strip's bottom.
    static QRect StripGeometry(int x, int distance, int width, int height);
};
