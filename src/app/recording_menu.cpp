#include "recording_menu.h"

#include "instrument_settings.h"
#include "live_link.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

namespace {

RecordingMenu::PathChooser& Chooser() {
    static RecordingMenu::PathChooser chooser;
    return chooser;
}

QString ChooseRecordingPath(QWidget* parent) {
    if (Chooser()) {
        return Chooser()(parent);
    }
    QFileDialog dialog(parent, QStringLiteral("Record"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("*.csv"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

RecordingMenu::RecordingMenu(QAction* action, QWidget* dialogParent)
    : QObject(dialogParent), action_(action), parent_(dialogParent) {
    action_->setCheckable(true);
    action_->setChecked(false);
}

void RecordingMenu::SetPathChooser(PathChooser chooser) {
    Chooser() = std::move(chooser);
}

void RecordingMenu::Toggle() {
    if (recorder_.active()) {
        recorder_.Stop();
        action_->setChecked(false);
        return;
    }
    const QString path = ChooseRecordingPath(parent_);
    if (path.isEmpty() || !recorder_.Start(path, gSettings)) {
        action_->setChecked(false);
        if (!path.isEmpty()) {
            Stopped(recorder_.error());
        }
        return;
    }
    action_->setChecked(true);
}

void RecordingMenu::TraceArrived() {
    if (!recorder_.active() || !LiveScreenRecordTaken()) {
        return;
    }
    if (!recorder_.Append(gSettings)) {
        action_->setChecked(false);
        Stopped(recorder_.error());
    }
}

void RecordingMenu::Stopped(const QString& problem) {
    // Said from the event loop: this may run inside the live loop's step.
    QTimer::singleShot(0, parent_, [parent = parent_, problem] {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Write error"),
                        QStringLiteral("The recording stopped: %1").arg(problem), QMessageBox::Ok,
                        parent);
        box.exec();
    });
}
