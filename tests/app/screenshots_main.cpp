// Takes the README's pictures, with Orvel on the simulated analyzer, under Xvfb:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb
//       build/bin/orvel-screenshot [--record] docs/screenshot.png   (running, a live trace)
//       build/bin/orvel-screenshot --dialogs docs    (the setup sheet and the colour dialog)
//       build/bin/orvel-screenshot --hardcopy docs   (the hard copy window and a printed page)
//
// --record shows the File menu open while "Record..." records. --analysis takes the View menu's
// picture (waterfall, peak table, a failing limit line) on a screen 1600 pixels wide.

#include "app_session.h"
#include "color_edit_dialog.h"
#include "control_panel.h"
#include "hard_copy_dialog.h"
#include "link_state.h"
#include "live_analysis.h"
#include "main_frame.h"
#include "main_menu.h"
#include "marker_panel.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "recording_menu.h"
#include "screen_capture.h"
#include "setup_sheet.h"
#include "trace_display.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "orvel-screenshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage ScreenArea(const QRect& area) {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(area);
}

void Settle(int ms = 300) {
    WaitUntil([] { return false; }, ms);
}

// Running, with a settled live trace and marker 1 on the strongest signal.
bool MainWindow(AppSession& session, const QString& mode, const QString& output) {
    LiveAnalysis* view = session.view()->analysis();
    if (mode == "--analysis") {
        view->WaterfallAction()->trigger();
        view->PeakTableAction()->trigger();
        // A mask around the carrier that its first sidebands break.
        view->ApplyLimitLines({{990e6, -45},
                               {999e6, -45},
                               {999.3e6, -15},
                               {1000.7e6, -15},
                               {1001e6, -45},
                               {1010e6, -45}},
                              {{990e6, -80}, {1010e6, -80}}, true);
    }
    if (mode == "--record") {
        const QString path = session.directory() + QStringLiteral("/recording.csv");
        RecordingMenu::SetPathChooser([path](QWidget*) { return path; });
        session.frame()->menu()->action(menuid::kRecord)->trigger();
    }
    paneltest::PanelControls(session.view()).holdButton->click();
    for (int cycle = 0; cycle < (mode == "--analysis" ? 150 : 3); ++cycle) {
        if (!session.waitReceived("CAPT", session.receivedCount())) {
            std::fprintf(stderr, "orvel-screenshot: no capture cycle after %d\n", cycle);
            return false;
        }
    }
    session.view()->display()->Markers().Panel().peak->click();
    Settle();
    QImage image = session.frame()->grab().toImage();
    if (mode == "--analysis") {
        // The frame and the floating table beside it.
        image =
            ScreenArea(session.frame()->frameGeometry().united(view->PeakDock()->frameGeometry()));
    }
    if (mode == "--record") {
        QMenu* file = session.frame()->menuBar()->actions().constFirst()->menu();
        file->popup(session.frame()->mapToGlobal(QPoint(0, session.frame()->menuBar()->height())));
        Settle(500);
        image = ScreenArea(session.frame()->frameGeometry().united(file->frameGeometry()));
        file->hide();
    }
    return Save(image, output);
}

// Both pages of the setup sheet, its port list open, and the colour dialog.
bool Dialogs(AppSession& session, const QString& out) {
    bool ok = true;
    session.watcher().dialogHandler = [&](QDialog* dialog) {
        if (auto* sheet = qobject_cast<Cpsheet*>(dialog)) {
            Settle();
            ok = Save(sheet->grab().toImage(), out + "/setup_comm.png") && ok;
            QComboBox* ports = sheet->commPage()->portCombo;
            ports->showPopup();
            Settle();
            ok = Save(ScreenArea(
                          sheet->frameGeometry().united(ports->view()->window()->frameGeometry())),
                      out + "/setup_ports.png") &&
                 ok;
            ports->hidePopup();
            sheet->tabs()->setCurrentIndex(1);
            Settle();
            ok = Save(sheet->grab().toImage(), out + "/setup_start.png") && ok;
            sheet->reject();
            return true;
        }
        if (auto* colours = qobject_cast<CColorEditDlg*>(dialog)) {
            Settle();
            ok = Save(colours->grab().toImage(), out + "/color_edit.png") && ok;
            colours->reject();
            return true;
        }
        return false;
    };
    session.frame()->menu()->action(menuid::kSetup)->trigger();
    session.frame()->menu()->action(menuid::kColorEdit)->trigger();
    return ok;
}

// The hard copy window part-way and complete (the loop runs: the window pauses it), and the
// printed page of the main window rendered from the PDF it prints to.
bool HardCopy(AppSession& session, const QString& out) {
    paneltest::PanelControls(session.view()).holdButton->click();
    session.waitReceived("CAPT", session.receivedCount());
    bool ok = false;
    session.watcher().dialogHandler = [](QDialog* dialog) {
        return qobject_cast<CHardCopyDlg*>(dialog) != nullptr;
    };
    QTimer::singleShot(0, [&] {
        WaitUntil([] { return VisibleWindow<CHardCopyDlg>() != nullptr; }, 5000);
        CHardCopyDlg* dialog = VisibleWindow<CHardCopyDlg>();
        if (dialog == nullptr) {
            return;
        }
        dialog->resize(704, 500);
        WaitUntil([] { return gLink.rxLength > 8000; }); // about half of the bands
        ok = Save(capture::CaptureWindow(dialog), out + "/hardcopy-partway.png");
        WaitUntil([&] { return !dialog->transferRunning(); }, 30000);
        ok = Save(capture::CaptureWindow(dialog), out + "/hardcopy-complete.png") && ok;
        dialog->done(1);
    });
    session.frame()->menu()->action(menuid::kHardCopy)->trigger();

    session.waitReceived("CAPT", session.receivedCount());
    Settle();
    const QString pdf = session.directory() + QStringLiteral("/page.pdf");
    capture::SetPrintDialogRunner([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    session.frame()->menu()->action(menuid::kPrint)->trigger();
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {"-r", "80", "-png", "-singlefile", pdf, out + QStringLiteral("/printed-page")});
    if (!render.waitForFinished(60000) || render.exitCode() != 0) {
        std::fprintf(stderr, "orvel-screenshot: pdftoppm failed\n");
        return false;
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    const QString mode = argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QStringList modes = {"", "--analysis", "--record", "--dialogs", "--hardcopy"};
    if ((argc != 2 && argc != 3) || !modes.contains(mode)) {
        std::fprintf(stderr, "usage: orvel-screenshot [--analysis | --record] OUTPUT.png\n"
                             "       orvel-screenshot --dialogs | --hardcopy OUTPUT-FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    // The program makes its own directory the current one; keep the output where it was meant.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[argc - 1])).absoluteFilePath();
    QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    AppSession session;
    if (mode != "--dialogs") {
        session.simArgs = {QStringLiteral("--model"), QStringLiteral("410")}; // paced at 19200
    }
    if (mode == "--analysis") {
        session.simArgs << QStringLiteral("--no-pace"); // many rows for the waterfall
    }
    if (mode.isEmpty() || mode == "--analysis" || mode == "--record") {
        session.settingsFile = QByteArray("Detailed trace : 1\r\n");
    }
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "orvel-screenshot: the program did not start\n");
        return 1;
    }
    bool ok = false;
    if (mode == "--dialogs") {
        ok = Dialogs(session, output);
    } else if (mode == "--hardcopy") {
        ok = HardCopy(session, output);
    } else {
        ok = MainWindow(session, mode, output);
    }
    return ok ? 0 : 1;
}
