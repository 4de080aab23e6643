#include "bmp_file.h"

#include <QFileDialog>
#include <QImage>
#include <QMessageBox>

namespace bmpfile {

namespace {

PathChooser& CurrentChooser() {
    static PathChooser chooser;
    return chooser;
}

} // namespace

void SetPathChooser(PathChooser chooser) {
    CurrentChooser() = std::move(chooser);
}

QString ChooseBmpPath(QWidget* parent) {
    if (CurrentChooser()) {
        return CurrentChooser()(parent);
    }
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("*.bmp"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

bool SaveBmp24Reporting(const QImage& image, const QString& path, QWidget* parent) {
    if (SaveBmp24(image, path)) {
        return true;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Write error"),
                    QStringLiteral("Save went wrong."), QMessageBox::Ok, parent);
    box.exec();
    return false;
}

} // namespace bmpfile
