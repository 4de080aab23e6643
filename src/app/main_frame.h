#pragma once
// The main window: the menu bar over the one form view. No toolbar, no status bar.

#include <QMainWindow>

class COrvelDoc;
class COrvelView;
class MainMenu;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Creates the window at (0, 0), 1024 x 768, with the menu, the document and the view. Nothing
    // talks to the analyzer before InitialUpdate().
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The view's first update: the whole connection start-up, then the caption is set. The
    // window is shown by the caller afterwards; the start-up completes once the event loop runs.
    void InitialUpdate();

    COrvelView* view() const { return view_; }
    MainMenu* menu() const { return menu_; }
    COrvelDoc* document() const { return document_; }

private:
    COrvelDoc* document_;
    MainMenu* menu_;
    COrvelView* view_;
};

// The caption of the main window once the start-up has run.
inline constexpr const char* kMainCaption = "PC software for Spectrum Analyzer - Orvel";
