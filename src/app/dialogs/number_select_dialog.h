#pragma once
// The number-select dialog of the memory operations, in the form gSettings.memorySelectKind asks
// for when it opens: 0 save (start and end from the remembered range), 1 delete (0..99 with the
// "Trace" and "Param" boxes, "Trace" checked), 2 load (the start number alone). OK refuses a
// number outside 0..99 or an end below the start with "A setup of the range is not right." and
// keeps the dialog open; accepted, it stores the range and sets memorySelectKind to the contents
// choice (1 Trace, plus 2 Param).

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QScrollBar;

class CNumberSelectDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFormSave = 0;
    static constexpr int kFormDelete = 1;
    static constexpr int kFormLoad = 2;
    static const char* const kRangeRefusal;

    explicit CNumberSelectDlg(QWidget* parent = nullptr);

    int form() const { return form_; }
    QLineEdit* startEdit() const { return startEdit_; }
    QLineEdit* endEdit() const { return endEdit_; }
    QScrollBar* startSpin() const { return startSpin_; }
    QScrollBar* endSpin() const { return endSpin_; }
    QLabel* startLabel() const { return startLabel_; }
    QLabel* endLabel() const { return endLabel_; }
    QCheckBox* traceBox() const { return traceBox_; }
    QCheckBox* paramBox() const { return paramBox_; }

    // The checks of OK: false for a refused range (nothing stored); otherwise stores the range and
    // the contents choice.
    bool TakeNumbers();

public slots:
    void accept() override;

private:
    int form_;
    QLabel* startLabel_;
    QLabel* endLabel_;
    QLineEdit* startEdit_;
    QLineEdit* endEdit_;
    QScrollBar* startSpin_;
    QScrollBar* endSpin_;
    QCheckBox* traceBox_;
    QCheckBox* paramBox_;
};
