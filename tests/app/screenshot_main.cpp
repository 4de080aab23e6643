// Takes the README's screenshot: Orvel on the simulated analyzer, running, with a live trace.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb
//       build/bin/orvel-screenshot docs/screenshot.png

#include "app_session.h"
#include "control_panel.h"
#include "main_frame.h"
#include "marker_panel.h"
#include "orvel_view.h"
#include "trace_display.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel-screenshot OUTPUT.png\n");
        return 2;
    }
    QApplication app(argc, argv);
    // The program makes its own directory the current one; keep the output where it was meant.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    AppSession session;
    session.settingsFile = QByteArray("Detailed trace : 1\r\n");
    session.simArgs = {QStringLiteral("--model"), QStringLiteral("410")};
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "orvel-screenshot: the program did not start\n");
        return 1;
    }
    session.view()->panel()->holdButton->click();
    // A few capture cycles, so the picture shows a settled live trace.
    for (int cycle = 0; cycle < 3; ++cycle) {
        const int since = session.receivedCount();
        if (!session.waitReceived("CAPT", since, 20000)) {
            std::fprintf(stderr, "orvel-screenshot: no capture cycle\n");
            return 1;
        }
    }
    // Marker 1 on the strongest signal, as a user would put it.
    session.view()->display()->Markers()->peak->click();
    WaitUntil([] { return false; }, 300);
    const QImage image = session.frame()->grab().toImage();
    if (!image.save(output)) {
        std::fprintf(stderr, "orvel-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
