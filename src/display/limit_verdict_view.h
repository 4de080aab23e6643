#pragma once
// The limit verdict over the graph's top right corner: PASS or FAIL in large letters, the traces
// judged and failed since the last reset, and "Reset".

#include <QWidget>

class QLabel;
class QPushButton;

class LimitVerdictView : public QWidget {
    Q_OBJECT
public:
    explicit LimitVerdictView(QWidget* parent = nullptr);

    // judged false: nothing to judge (no line over the trace), shown as "--".
    void ShowVerdict(bool judged, bool pass, int traces, int failures);

    QLabel* verdict = nullptr;
    QLabel* counts = nullptr;
    QPushButton* resetButton = nullptr;

signals:
    void ResetRequested();
};
