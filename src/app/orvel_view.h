#pragma once
// The form view: the trace graph and the control panel side by side. It owns the start-up and the
// shut-down of the link and wires the menu to the operations of the panel, display, link and files.

#include <QTimer>
#include <QWidget>

class MainMenu;
class QMainWindow;

class COrvelView : public QWidget {
    Q_OBJECT
public:
    COrvelView(QMainWindow* frame, MainMenu* menu);
    ~COrvelView() override;

    // The view's first update: defaults, settings file, port, 200 ms, the full view
    // initialisation, then the start-up timer.
    void OnInitialUpdate();

    // True while the start-up timer has not fired yet.
    bool startupPending() const { return startupTimer_.isActive(); }

    // Shows the compact-mode refusal and returns true while the window is too small for the panel.
    bool RefuseInCompactMode();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void InitializeView();
    void FillPanelAfterReading();
    void FillPanelFromRecord();
    void ReportMissingAnalyzer();
    void OnStartupTimer();
    void ShutDown();
    void WireMenu();
    void OnAbout();

    QMainWindow* frame_;
    MainMenu* menu_;
    QTimer startupTimer_; // one-shot: finishes the start-up once the event loop runs
    bool shutDownDone_ = false;
};
