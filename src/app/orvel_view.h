#pragma once
// The form view: the trace graph and the control panel side by side. It owns the start-up and the
// shut-down of the link, wires the panel, the display, the link and the menu together, and decides
// what follows from each change of the settings record (OnChanged).

#include "field_changes.h"
#include "link_view.h"
#include "panel_view.h"
#include "trace_operations.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>

class ControlPanel;
class TraceDisplay;
class ViewDisplayHost;
class HiddenCommandEntry;
class LiveAnalysis;
class LinkPoller;
class MainMenu;
class PanelLink;
class QMainWindow;
class RecordingMenu;

class COrvelView : public QWidget, public LinkView, public PanelView, public traceops::Host {
    Q_OBJECT
public:
    COrvelView(QMainWindow* frame, MainMenu* menu);
    ~COrvelView() override;

    // The directory whose "Orvel.ini" the start-up reads and the shut-down writes. Empty (the
    // default) means the program's own directory. Set it before OnInitialUpdate.
    void setProgramDirectory(const QString& directory) { programDirectory_ = directory; }

    // The view's first update: defaults, settings file, port, 200 ms, the full view
    // initialisation, then the start-up timer.
    void OnInitialUpdate();

    // True until the start-up timer has run.
    bool startupPending() const { return startupTimer_.isActive(); }

    ControlPanel* panel() const { return panel_; }
    TraceDisplay* display() const { return display_; }
    HiddenCommandEntry* commandEntry() const { return commandEntry_; }
    // The View menu's waterfall, peak table and limit lines.
    LiveAnalysis* analysis() const { return analysis_; }
    RecordingMenu* recording() const { return recording_; }

    // --- LinkView ---
    void SetWaitCursor(bool on) override;
    void ShowMessage(MessageIcon icon, const char* caption, const char* text,
                     bool ownedByView) override;

    // --- PanelView ---
    int RunAutoTuneWait() override;
    void ShowWarningBox(const QString& text) override;

    // --- traceops::Host ---
    QWidget* DialogParent() override { return this; }
    void SetHeld() override;
    void ApplyTraceRecord(int mode, bool fromAnalyzer) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // What follows from a change in the record: the one place that knows which labels, axes,
    // bands, cursors and controls depend on which fields.
    void OnChanged(FieldSet changed);
    void UpdateUnitLabels();
    void SetRemoteChecked(int on);
    void SetDefaultSettings();
    int DetailedTraceChecked() const;
    void ReadSettingsAtStart();
    void InitializeView();
    void ShowStartupPanelState();
    void ApplyGraphColours();
    void OnStartupTimer();
    void ShutDown();
    void WireMenu();
    void ApplyLayout(int width, int height);
    bool RefuseInCompactMode() override;
    void OnAbout();
    void OnHelp();
    void OnConversion();
    void OnSetup();
    void OnColorEdit();
    void OnHardCopy();

    QMainWindow* frame_;
    MainMenu* menu_;
    QString programDirectory_;
    std::unique_ptr<PanelLink> panelLink_;
    ControlPanel* panel_;
    std::unique_ptr<ViewDisplayHost> displayHost_;
    TraceDisplay* display_;
    HiddenCommandEntry* commandEntry_;
    LiveAnalysis* analysis_;
    RecordingMenu* recording_ = nullptr;
    std::unique_ptr<LinkPoller> poller_; // timers 1 and 5
    QTimer startupTimer_;                // timer 3: finishes the start-up once the loop runs
    int waitCursorDepth_ = 0;
    bool shutDownDone_ = false;
};
