#include "modal_watcher.h"

#include <QApplication>
#include <QDialog>

ModalWatcher::ModalWatcher() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
    timer_.start();
}

void ModalWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) {
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages_.push_back({box->windowTitle(), box->text(), box->icon()});
        box->done(QMessageBox::Ok);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        if (!dialogHandler || !dialogHandler(dialog)) {
            dialog->reject();
        }
    }
}
