// Takes the README's hard copy pictures: the hard copy window part-way and complete, and the
// printed page of the main window rendered from the PDF it prints to.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb
//       build/bin/orvel-hardcopy-screenshots docs

#include "app_session.h"
#include "control_panel.h"
#include "hard_copy_dialog.h"
#include "instrument_settings.h"
#include "link_state.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "screen_capture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

CHardCopyDlg* OpenHardCopy() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<CHardCopyDlg*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "orvel-hardcopy-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel-hardcopy-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QString out = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    AppSession session;
    session.simArgs = {QStringLiteral("--model"), QStringLiteral("410")}; // paced at 19200
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "orvel-hardcopy-screenshots: the program did not start\n");
        return 1;
    }
    // Running, with a live trace: the hard copy window pauses the loop and resumes it after.
    paneltest::PanelControls(session.view()).holdButton->click();
    session.waitReceived("CAPT", session.receivedCount(), 20000);
    bool ok = true;
    session.watcher().dialogHandler = [](QDialog* dialog) {
        return qobject_cast<CHardCopyDlg*>(dialog) != nullptr;
    };
    QTimer::singleShot(0, [&] {
        WaitUntil([] { return OpenHardCopy() != nullptr; }, 5000);
        CHardCopyDlg* dialog = OpenHardCopy();
        if (dialog == nullptr) {
            ok = false;
            return;
        }
        dialog->resize(704, 500);
        // Part-way: about half of the bands are in.
        WaitUntil([] { return gLink.rxLength > 8000; }, 20000);
        ok = Save(capture::CaptureWindow(dialog), out + QStringLiteral("/hardcopy-partway.png"));
        WaitUntil([&] { return !dialog->transferRunning(); }, 30000);
        ok = Save(capture::CaptureWindow(dialog), out + QStringLiteral("/hardcopy-complete.png")) &&
             ok;
        dialog->done(1);
    });
    session.frame()->menu()->action(menuid::kHardCopy)->trigger();

    session.waitReceived("CAPT", session.receivedCount(), 20000);
    WaitUntil([] { return false; }, 300);
    const QString pdf = session.directory() + QStringLiteral("/page.pdf");
    capture::SetPrintDialogRunner([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    session.frame()->menu()->action(menuid::kPrint)->trigger();
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), pdf, out + QStringLiteral("/printed-page")});
    if (!render.waitForFinished(60000) || render.exitCode() != 0) {
        std::fprintf(stderr, "orvel-hardcopy-screenshots: pdftoppm failed\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
