// Takes the README's screenshot: Orvel on the simulated analyzer, running, with a live trace.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb
//       build/bin/orvel-screenshot docs/screenshot.png
//
// With --record it shows the File menu open while "Record..." records.
// With --analysis it takes the View menu's picture instead: waterfall, peak table and a failing
// limit line (a screen 1600 pixels wide leaves room for the floating table):
//
//   xvfb-run -a -s "-screen 0 1600x1024x24" env QT_QPA_PLATFORM=xcb
//       build/bin/orvel-screenshot --analysis docs/analysis.png

#include "app_session.h"
#include "control_panel.h"
#include "live_analysis.h"
#include "main_frame.h"
#include "main_menu.h"
#include "marker_panel.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "panel_test_support.h"
#include "recording_menu.h"
#include "trace_display.h"

#include <QApplication>
#include <QDockWidget>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    const bool analysis = argc == 3 && std::strcmp(argv[1], "--analysis") == 0;
    const bool record = argc == 3 && std::strcmp(argv[1], "--record") == 0;
    if (argc != 2 && !analysis && !record) {
        std::fprintf(stderr, "usage: orvel-screenshot [--analysis | --record] OUTPUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    // The program makes its own directory the current one; keep the output where it was meant.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[argc - 1])).absoluteFilePath();
    QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    AppSession session;
    session.settingsFile = QByteArray("Detailed trace : 1\r\n");
    session.simArgs = {QStringLiteral("--model"), QStringLiteral("410")};
    if (analysis)
        session.simArgs << QStringLiteral("--no-pace"); // many rows for the waterfall
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "orvel-screenshot: the program did not start\n");
        return 1;
    }
    LiveAnalysis* view = session.view()->analysis();
    if (analysis) {
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
    if (record) {
        const QString path = session.directory() + QStringLiteral("/recording.csv");
        RecordingMenu::SetPathChooser([path](QWidget*) { return path; });
        session.frame()->menu()->action(menuid::kRecord)->trigger();
    }
    paneltest::PanelControls(session.view()).holdButton->click();
    // A few capture cycles, so the picture shows a settled live trace (and a waterfall).
    for (int cycle = 0; cycle < (analysis ? 150 : 3); ++cycle) {
        const int since = session.receivedCount();
        if (!session.waitReceived("CAPT", since, 20000)) {
            std::fprintf(stderr, "orvel-screenshot: no capture cycle after %d\n", cycle);
            return 1;
        }
    }
    // Marker 1 on the strongest signal, as a user would put it.
    session.view()->display()->Markers().Panel().peak->click();
    WaitUntil([] { return false; }, 300);
    QImage image = session.frame()->grab().toImage();
    if (analysis) {
        // The frame and the floating table beside it, from the screen.
        const QRect both =
            session.frame()->frameGeometry().united(view->PeakDock()->frameGeometry());
        image = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(both);
    }
    if (record) {
        // The File menu open, "Record..." checked while the recording runs.
        QMenu* file = session.frame()->menuBar()->actions().constFirst()->menu();
        file->popup(session.frame()->mapToGlobal(QPoint(0, session.frame()->menuBar()->height())));
        WaitUntil([] { return false; }, 500);
        const QRect both = session.frame()->frameGeometry().united(file->frameGeometry());
        image = QGuiApplication::primaryScreen()->grabWindow(0).toImage().copy(both);
        file->hide();
    }
    if (!image.save(output)) {
        std::fprintf(stderr, "orvel-screenshot: cannot write %s\n", argv[argc - 1]);
        return 1;
    }
    return 0;
}
