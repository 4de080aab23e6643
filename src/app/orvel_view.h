#pragma once
// The form view: the trace graph and the control panel side by side. It owns the start-up and the
// shut-down of the link, answers what the link, the panel and the display ask of the window, and
// wires the menu to the operations of the panel, display, link and files.

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

    // --- Shared by the link and the panel ---
    void UpdateTraces() override;
    void UpdateChannelPowerCursors() override;
    void UpdateAcpCursors() override;
    void UpdateZone() override;

    // --- LinkView ---
    void SetWaitCursor(bool on) override;
    void ShowMessage(MessageIcon icon, const char* caption, const char* text,
                     bool ownedByView) override;
    int DetailedTraceChecked() override;
    void UpdateSweepAndUnitLabels() override;
    void ShowMeasurementResult(const char* text) override;
    void UpdateObwDisplay() override;
    void ShowReadSetting(int queryCode) override;
    void ShowAllSettings() override;
    void UpdateFrequencyAxis() override;
    void UpdateLevelAxis() override;
    void SetRemoteChecked(int on) override;
    void ClearAutoBox(int commandCode) override;
    void UpdateMeasurementDisplay() override;
    void UpdateFieldStrengthDisplay() override;

    // --- PanelView ---
    void UpdateFrequencyLabels() override;
    void UpdateMarkerReadouts() override;
    void SyncMeasurementFrequencies() override;
    void UpdateUnitLabels() override;
    void ShowUnitTexts(const char* unitLabel, const char* markerLevelLabel) override;
    void UpdateMeasurementLabels() override;
    void SetDefaultSettings() override;
    void ReadAllSettings() override;
    void AcquireStep() override;
    int RunAutoTuneWait() override;
    void ShowWarningBox(const QString& text) override;
    void UpdateTraceVisibility() override;
    void DrawTraceSlot(int slot) override;

    // --- traceops::Host ---
    QWidget* DialogParent() override { return this; }
    void SetHeld() override;
    void ApplyTraceRecord(int mode, bool fromAnalyzer) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
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
