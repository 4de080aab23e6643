#pragma once
// "Limit Lines": the upper and the lower line as small tables of frequency and level, each
// loaded from or saved to a CSV file, and whether traces are judged against them.

#include "limit_lines.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QTableWidget;

class LimitLinesDialog : public QDialog {
    Q_OBJECT
public:
    LimitLinesDialog(const display::LimitLine& upper, const display::LimitLine& lower, bool on,
                     QWidget* parent = nullptr);

    // The lines as accepted (valid after OK).
    const display::LimitLine& Upper() const { return upper_; }
    const display::LimitLine& Lower() const { return lower_; }
    bool JudgeOn() const;

    // Loads a CSV file into the upper (0) or lower (1) table; the message of a refused or
    // tidied file, "" when it was read as it stood.
    QString LoadFile(int which, const QString& path);
    // Writes a table to a CSV file; false with a message box when it cannot be written.
    bool SaveFile(int which, const QString& path);

    QTableWidget* tables[2] = {nullptr, nullptr};
    QCheckBox* judgeBox = nullptr;
    QLabel* status = nullptr;

    void accept() override;

private:
    void Fill(int which, const display::LimitLine& line);
    // The table's rows read and tidied; refused rows give a message.
    display::LimitCleanup Read(int which) const;

    display::LimitLine upper_;
    display::LimitLine lower_;
};
