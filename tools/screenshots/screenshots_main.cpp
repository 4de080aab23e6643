// Takes the README's pictures (the README gives each command) with Orvel on the simulated
// analyzer under Xvfb: the running window, or with --record the File menu open while recording,
// --analysis the View menu's analysis (a screen 1600 pixels wide), --dialogs, --hardcopy.

#include "app_session.h"
#include "color_edit_dialog.h"
#include "link_state.h"
#include "live_analysis.h"
#include "recording_menu.h"
#include "screen_capture.h"
#include "setup_sheet.h"

#include <QAbstractItemView>
#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScreen>
#include <QTabWidget>

#include <cstdio>

namespace {

bool Save(const QImage& image, const QString& path) {
    const bool saved = image.save(path);
    if (!saved)
        std::fprintf(stderr, "orvel-screenshot: cannot write %s\n", qPrintable(path));
    return saved;
}

// What the screen shows of these windows together (menus and docks are windows of their own).
QImage ScreenArea(const QWidget* window, const QWidget* other) {
    const QRect area = window->frameGeometry().united(other->frameGeometry());
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(area);
}

// Running, with a settled live trace and marker 1 on the strongest signal.
bool MainWindow(AppSession& session, const QString& mode, const QString& output) {
    LiveAnalysis* view = session.view()->analysis();
    CMainFrame* frame = session.frame();
    if (mode == "--analysis") {
        view->WaterfallAction()->trigger();
        view->PeakTableAction()->trigger();
        // A mask around the carrier that its first sidebands break.
        // clang-format off
        view->ApplyLimitLines({{990e6, -45}, {999e6, -45}, {999.3e6, -15}, {1000.7e6, -15}, {1001e6, -45}, {1010e6, -45}},
                              {{990e6, -80}, {1010e6, -80}}, true);
        // clang-format on
    }
    if (mode == "--record") {
        const QString path = session.path(QStringLiteral("recording.csv"));
        RecordingMenu::SetPathChooser([path](QWidget*) { return path; });
        session.trigger(menuid::kRecord);
    }
    session.clickHoldRun();
    for (int cycle = 0; cycle < (mode == "--analysis" ? 150 : 3); ++cycle) {
        if (!session.waitCaptures(1)) {
            std::fprintf(stderr, "orvel-screenshot: no capture cycle after %d\n", cycle);
            return false;
        }
    }
    session.view()->display()->Markers().Panel().peak->click();
    RunFor(300);
    if (mode == "--analysis")
        return Save(ScreenArea(frame, view->PeakDock()), output);
    if (mode == "--record") {
        QMenu* file = frame->menuBar()->actions().constFirst()->menu();
        file->popup(frame->mapToGlobal(QPoint(0, frame->menuBar()->height())));
        RunFor(500);
        return Save(ScreenArea(frame, file), output);
    }
    return Save(frame->grab().toImage(), output);
}

// Both pages of the setup sheet, its port list open, and the colour dialog.
bool Dialogs(AppSession& session, const QString& out) {
    bool ok = true;
    session.watcher().dialogHandler = [&](QDialog* dialog) {
        RunFor(300);
        if (auto* sheet = qobject_cast<Cpsheet*>(dialog)) {
            ok = Save(sheet->grab().toImage(), out + "/setup_comm.png") && ok;
            QComboBox* ports = sheet->commPage()->portCombo;
            ports->showPopup();
            RunFor(300);
            ok = Save(ScreenArea(sheet, ports->view()->window()), out + "/setup_ports.png") && ok;
            ports->hidePopup();
            sheet->tabs()->setCurrentIndex(1);
            RunFor(300);
            ok = Save(sheet->grab().toImage(), out + "/setup_start.png") && ok;
        } else if (auto* colours = qobject_cast<CColorEditDlg*>(dialog)) {
            ok = Save(colours->grab().toImage(), out + "/color_edit.png") && ok;
        }
        return false; // rejected
    };
    session.trigger(menuid::kSetup);
    session.trigger(menuid::kColorEdit);
    return ok;
}

// The hard copy window part-way and complete, and the printed page rendered from its PDF.
bool HardCopy(AppSession& session, const QString& out) {
    session.clickHoldRun();
    session.waitCaptures(1);
    bool ok = false;
    const bool shown = session.runHardCopy([&](CHardCopyDlg* dialog) {
        dialog->resize(704, 500);
        WaitUntil([] { return gLink.rxLength > 8000; }); // about half of the bands
        ok = Save(capture::CaptureWindow(dialog), out + "/hardcopy-partway.png");
        WaitUntil([&] { return !dialog->transferRunning(); }, 30000);
        ok = Save(capture::CaptureWindow(dialog), out + "/hardcopy-complete.png") && ok;
    });
    session.waitCaptures(1);
    RunFor(300);
    const QString pdf = session.path(QStringLiteral("page.pdf"));
    session.printToPdf(pdf);
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {"-r", "80", "-png", "-singlefile", pdf, out + QStringLiteral("/printed-page")});
    if (!render.waitForFinished(60000) || render.exitCode() != 0) {
        std::fprintf(stderr, "orvel-screenshot: pdftoppm failed\n");
        return false;
    }
    return shown && ok;
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
    const bool window = mode.isEmpty() || mode == "--analysis" || mode == "--record";
    // The running window with the detailed trace; else All Reading, as a user's first start.
    session.settingsFile = window ? QByteArray("Detailed trace : 1\r\n") : QByteArray();
    if (mode != "--dialogs")
        session.simArgs = {QStringLiteral("--model"), QStringLiteral("410")}; // paced at 19200
    if (mode == "--analysis")
        session.simArgs << QStringLiteral("--no-pace"); // many rows for the waterfall
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "orvel-screenshot: the program did not start\n");
        return 1;
    }
    if (mode == "--dialogs")
        return Dialogs(session, output) ? 0 : 1;
    if (mode == "--hardcopy")
        return HardCopy(session, output) ? 0 : 1;
    return MainWindow(session, mode, output) ? 0 : 1;
}
