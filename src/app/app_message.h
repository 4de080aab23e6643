#pragma once
// Modal message boxes with the program's fixed texts, captions and icons.

#include <QMessageBox>

class QString;
class QWidget;

// Shows a modal box with one OK button. A null owner gives a box with no owner window.
void ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                    const QString& text);
