#include "app_session.h"

#include "main_frame.h"
#include "orvel_view.h"
#include "qt_support.h"
#include "sim_process.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QThread>

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return true;
}

// --- ModalWatcher ---

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

// --- AppSession ---

AppSession::AppSession() = default;

AppSession::~AppSession() {
    close();
    sim_.reset();
}

QList<QByteArray> AppSession::received() const {
    QList<QByteArray> lines;
    if (sim_) {
        for (const std::string& line : sim_->received()) {
            const std::string bytes = orvel::test::SimProcess::unescape(line);
            lines.append(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        }
    }
    return lines;
}

COrvelView* AppSession::view() const {
    return frame_ ? frame_->view() : nullptr;
}

QString AppSession::settingsPath() const {
    return dir_.path() + QStringLiteral("/Orvel.ini");
}

bool AppSession::start() {
    return prepare() && launch();
}

bool AppSession::prepare() {
    if (!dir_.isValid()) {
        return false;
    }
    if (settingsFile && !orvel::test::WriteFile(settingsPath(), *settingsFile)) {
        return false;
    }
    if (startSimulator) {
        std::vector<std::string> args;
        for (const QString& arg : simArgs) {
            args.push_back(arg.toStdString());
        }
        sim_ = std::make_unique<orvel::test::SimProcess>(args);
        if (!sim_->started()) {
            return false;
        }
        qputenv("ORVEL_COM1", QByteArray::fromStdString(sim_->devicePath()));
    } else {
        qputenv("ORVEL_COM1", (dir_.path() + QStringLiteral("/no-such-port")).toLocal8Bit());
    }
    watcher_ = std::make_unique<ModalWatcher>();
    return true;
}

bool AppSession::launch() {
    frame_ = new CMainFrame;
    frame_->view()->setProgramDirectory(dir_.path());
    frame_->InitialUpdate();
    frame_->show();
    return WaitUntil([this] { return frame_.isNull() || !frame_->view()->startupPending(); });
}

bool AppSession::close() {
    if (frame_.isNull()) {
        return true;
    }
    frame_->close();
    return WaitUntil([this] { return frame_.isNull(); });
}

QList<QByteArray> AppSession::receivedSince(int count) const {
    return received().mid(count);
}

bool AppSession::waitReceived(const QByteArray& line, int since, int timeoutMs) const {
    return WaitUntil([&] { return receivedSince(since).contains(line); }, timeoutMs);
}

bool ContainsInOrder(const QList<QByteArray>& haystack, const QList<QByteArray>& needles) {
    qsizetype next = 0;
    for (const QByteArray& line : haystack) {
        if (next < needles.size() && line == needles[next]) {
            ++next;
        }
    }
    return next == needles.size();
}

void EnsureApplication() {
    orvel::test::EnsureQtApplication();
}
