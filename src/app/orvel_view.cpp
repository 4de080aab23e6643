#include "orvel_view.h"

#include "about_dialog.h"
#include "app_message.h"
#include "instrument_settings.h"
#include "main_menu.h"
#include "menu_ids.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QResizeEvent>

#include <string_view>

namespace {

const char* modelName(int modelIndex) {
    return modelIndex == 1 ? "RVX420" : "RVX410";
}

} // namespace

COrvelView::COrvelView(QMainWindow* frame, MainMenu* menu)
    : QWidget(frame), frame_(frame), menu_(menu) {
    setObjectName(QStringLiteral("orvelView"));
    startupTimer_.setSingleShot(true);
    startupTimer_.setInterval(1);
    connect(&startupTimer_, &QTimer::timeout, this, &COrvelView::OnStartupTimer);
    WireMenu();
}

COrvelView::~COrvelView() {
    ShutDown();
}

void COrvelView::OnInitialUpdate() {
    // Shrink the frame to the form if the form is the smaller one.
    const QSize form = sizeHint();
    if (form.isValid() && (form.width() < width() || form.height() < height())) {
        frame_->resize(frame_->width() - std::max(0, width() - form.width()),
                       frame_->height() - std::max(0, height() - form.height()));
    }
    // SetDefaultSettings(); (lands with the model)
    InitializeView();
    startupTimer_.start();
}

void COrvelView::InitializeView() {
    startupTimer_.start();
    frame_->setGeometry(0, 0, 978, 748);
}

void COrvelView::ReportMissingAnalyzer() {
    if (gSettings.instrumentPresent != 0) {
        return;
    }
    if (std::string_view(gSettings.rxBuffer).starts_with("Write error")) {
        ShowMessageBox(nullptr, QMessageBox::Warning, QStringLiteral("Communication error"),
                       QStringLiteral("A COM port has not been opened."));
        return;
    }
    ShowMessageBox(nullptr, QMessageBox::Warning, QStringLiteral("Communication error"),
                   QStringLiteral("Please check connection with %1.")
                       .arg(QString::fromLatin1(modelName(gSettings.modelIndex))));
}

void COrvelView::OnStartupTimer() {
    startupTimer_.stop();
    gSettings.startingUp = 0;
    if (gSettings.requiredFileFound == 0) {
        ShowMessageBox(this, QMessageBox::Critical, QStringLiteral("Starting error"),
                       QStringLiteral("A required file is not found."));
        QMetaObject::invokeMethod(frame_, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (gSettings.startWindowState == 1) {
        frame_->setWindowState(frame_->windowState() | Qt::WindowMaximized);
    } else if (gSettings.startWindowState == 2) {
        frame_->setWindowState(frame_->windowState() | Qt::WindowMinimized);
    }
}

void COrvelView::ShutDown() {
    if (shutDownDone_) {
        return;
    }
    shutDownDone_ = true;
    startupTimer_.stop();
}

bool COrvelView::RefuseInCompactMode() {
    if (gSettings.compactMode == 0) {
        return false;
    }
    ShowMessageBox(this, QMessageBox::Warning, QStringLiteral("Orvel"),
                   QStringLiteral("When a window is small it is not able to use it."));
    return true;
}

void COrvelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
}

void COrvelView::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void COrvelView::WireMenu() {
    using namespace menuid;
    for (QAction* action : menu_->actions()) {
        action->setEnabled(false);
    }
    auto wire = [this](int id, auto handler) {
        QAction* action = menu_->action(id);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    wire(kExit, [this] { frame_->close(); });
    wire(kAbout, [this] { OnAbout(); });
}
