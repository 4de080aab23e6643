#include "main_frame.h"

#include "instrument_settings.h"
#include "main_menu.h"
#include "orvel_doc.h"
#include "orvel_view.h"

#include <QMenuBar>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), document_(new COrvelDoc), menu_(new MainMenu(menuBar())),
      view_(nullptr) {
    // Closing the window destroys it and with it the view, which shuts the link down.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Orvel"));
    setMinimumSize(360, 255);
    setGeometry(0, 0, 1024, 768);
    // Until the start-up has run, no size change takes the compact layout.
    gSettings.startingUp = 1;
    view_ = new COrvelView(this, menu_);
    setCentralWidget(view_);
    document_->OnNewDocument();
}

CMainFrame::~CMainFrame() {
    // The view goes first: its shut-down still uses the menu's check marks.
    delete view_;
    view_ = nullptr;
    delete menu_;
    delete document_;
}

void CMainFrame::InitialUpdate() {
    view_->OnInitialUpdate();
    setWindowTitle(QString::fromLatin1(kMainCaption));
}
