// Takes the README's pictures of the setup sheet (both pages, and the port list open) and of the
// colour dialog, with the program on the simulated analyzer:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb
//       build/bin/orvel-dialog-screenshots docs

#include "app_session.h"
#include "color_edit_dialog.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "setup_sheet.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>

#include <cstdio>

namespace {

bool Save(const QPixmap& picture, const QString& path) {
    if (!picture.save(path)) {
        std::fprintf(stderr, "orvel-dialog-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void Settle() {
    WaitUntil([] { return false; }, 300);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel-dialog-screenshots OUTPUT-FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    const QDir out(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    AppSession session;
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "orvel-dialog-screenshots: the program did not start\n");
        return 1;
    }
    bool ok = true;
    session.watcher().dialogHandler = [&](QDialog* dialog) {
        if (auto* sheet = qobject_cast<Cpsheet*>(dialog)) {
            Settle();
            ok = Save(sheet->grab(), out.filePath(QStringLiteral("setup_comm.png"))) && ok;
            // The port list open over the first page: a screen grab takes the popup too.
            QComboBox* ports = sheet->commPage()->portCombo;
            ports->showPopup();
            Settle();
            QRect area = sheet->frameGeometry();
            if (QWidget* popup = ports->view()->window()) {
                area = area.united(popup->frameGeometry());
            }
            ok = Save(sheet->screen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                  area.height()),
                      out.filePath(QStringLiteral("setup_ports.png"))) &&
                 ok;
            ports->hidePopup();
            sheet->tabs()->setCurrentIndex(1);
            Settle();
            ok = Save(sheet->grab(), out.filePath(QStringLiteral("setup_start.png"))) && ok;
            sheet->reject();
            return true;
        }
        if (auto* colours = qobject_cast<CColorEditDlg*>(dialog)) {
            Settle();
            ok = Save(colours->grab(), out.filePath(QStringLiteral("color_edit.png"))) && ok;
            colours->reject();
            return true;
        }
        return false;
    };
    session.frame()->menu()->action(menuid::kSetup)->trigger();
    session.frame()->menu()->action(menuid::kColorEdit)->trigger();
    return ok ? 0 : 1;
}
