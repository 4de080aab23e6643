#include "app_session.h"

#include "screen_capture.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QMenu>
#include <QPrinter>
#include <QThread>

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
    return true;
}

ModalWatcher::ModalWatcher() {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::poll);
    timer_.start();
}

void ModalWatcher::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible())
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages_.push_back({box->windowTitle(), box->text(), box->icon()});
        box->done(QMessageBox::Ok);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        if (!dialogHandler || !dialogHandler(dialog))
            dialog->reject();
    }
}

AppSession::~AppSession() {
    close();
    sim_.reset();
}

QList<QByteArray> AppSession::received() const {
    QList<QByteArray> lines;
    if (sim_) {
        for (const std::string& line : sim_->received())
            lines.append(QByteArray::fromStdString(orvel::test::SimProcess::unescape(line)));
    }
    return lines;
}

bool AppSession::prepare() {
    if (!dir_.isValid() ||
        (settingsFile && !orvel::test::WriteFile(settingsPath(), *settingsFile))) {
        return false;
    }
    if (startSimulator) {
        std::vector<std::string> args;
        for (const QString& arg : simArgs)
            args.push_back(arg.toStdString());
        sim_ = std::make_unique<orvel::test::SimProcess>(args);
        if (!sim_->started())
            return false;
        qputenv("ORVEL_COM1", QByteArray::fromStdString(sim_->devicePath()));
    } else {
        qputenv("ORVEL_COM1", path(QStringLiteral("no-such-port")).toLocal8Bit());
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
    if (frame_.isNull())
        return true;
    frame_->close();
    return WaitUntil([this] { return frame_.isNull(); });
}

bool AppSession::waitReceived(const QByteArray& line, int since, int timeoutMs) const {
    return WaitUntil([&] { return receivedSince(since).contains(line); }, timeoutMs);
}

bool AppSession::waitCaptures(int count) const {
    const int since = receivedCount();
    return WaitUntil([&] { return receivedSince(since).count("CAPT") >= count; });
}

bool AppSession::runHardCopy(const std::function<void(CHardCopyDlg*)>& body) const {
    watcher().dialogHandler = On<CHardCopyDlg>([](CHardCopyDlg*) {});
    // Shared: when the window never opens, the timer runs after this returns.
    const auto shown = std::make_shared<bool>(false);
    QTimer::singleShot(0, [shown, body] {
        *shown = WaitUntil([] { return VisibleWindow<CHardCopyDlg>() != nullptr; }, 5000);
        if (*shown)
            body(VisibleWindow<CHardCopyDlg>());
        if (CHardCopyDlg* dialog = VisibleWindow<CHardCopyDlg>()) {
            // Its Close entry; a missing one fails the test instead of crashing the program.
            QAction* close = dialog->popupMenu()->findChild<QAction*>(QStringLiteral("menu32820"));
            EXPECT_NE(close, nullptr);
            if (close != nullptr)
                close->trigger();
            else
                dialog->reject();
        }
    });
    trigger(menuid::kHardCopy);
    return *shown;
}

void AppSession::printToPdf(const QString& pdf, int copies) const {
    capture::SetPrintDialogRunner([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setCopyCount(copies);
        return true;
    });
    trigger(menuid::kPrint);
    capture::SetPrintDialogRunner(nullptr);
}

bool ContainsInOrder(const QList<QByteArray>& haystack, const QList<QByteArray>& needles) {
    qsizetype next = 0;
    for (const QByteArray& line : haystack) {
        if (next < needles.size() && line == needles[next])
            ++next;
    }
    return next == needles.size();
}
