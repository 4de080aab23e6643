#pragma once
// "Trace Select": which trace receives acquired data and which traces are shown.

#include <QDialog>

class QCheckBox;
class QRadioButton;

class TraceSelectDialog : public QDialog {
    Q_OBJECT
public:
    // `traceView` entries 1..10 are the View flags.
    TraceSelectDialog(int activeTraceSlot, const int traceView[11], QWidget* parent = nullptr);

    int ActiveTraceSlot() const;
    // The View flags to store: the boxes, or the flags the dialog opened with when every box is
    // unchecked.
    void ViewFlags(int traceView[11]) const;

    QRadioButton* TraceRadio(int trace) const { return radios_[trace - 1]; }
    QCheckBox* ViewBox(int trace) const { return boxes_[trace - 1]; }

private:
    QRadioButton* radios_[10];
    QCheckBox* boxes_[10];
    int initialView_[11] = {};
};
