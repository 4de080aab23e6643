#include "main_frame.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quillon"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvel"));

    QPointer<CMainFrame> frame = new CMainFrame;
    frame->InitialUpdate();
    frame->show();
    const int result = QApplication::exec();
    // A frame still alive (the loop was ended some other way) shuts the link down here.
    delete frame.data();
    return result;
}
