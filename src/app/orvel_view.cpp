#include "orvel_view.h"

#include "acquisition.h"
#include "all_settings.h"
#include "control_panel.h"
#include "hidden_command_entry.h"
#include "instrument_settings.h"
#include "level_units.h"
#include "link_for_panel.h"
#include "link_poller.h"
#include "link_state.h"
#include "live_analysis.h"
#include "main_menu.h"
#include "marker_panel.h"
#include "measurement_strip.h"
#include "menu_ids.h"
#include "message_dialog.h"
#include "recording_menu.h"
#include "serial_port.h"
#include "trace_display.h"
#include "view_display_host.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QResizeEvent>

COrvelView::COrvelView(QMainWindow* frame, MainMenu* menu)
    : QWidget(frame), frame_(frame), menu_(menu), panelLink_(std::make_unique<LinkForPanel>()),
      panel_(new ControlPanel(this, panelLink_.get(), this)),
      commandEntry_(new HiddenCommandEntry(this)), poller_(std::make_unique<LinkPoller>()) {
    displayHost_ = std::make_unique<ViewDisplayHost>(this, panel_, poller_.get());
    display_ = new TraceDisplay(this, displayHost_.get());
    connect(display_, &TraceDisplay::CompactModeChanged, this,
            [this](bool compact) { panel_->setVisible(!compact); });
    connect(display_, &TraceDisplay::ActiveTraceChanged, this, [this](int) { UpdateUnitLabels(); });
    connect(display_, &TraceDisplay::MarkerBlockEnabledChanged, panel_->markerModeCombo,
            &QWidget::setEnabled);
    setObjectName(QStringLiteral("orvelView"));
    // The form's controls are placed by pixel for a small dialog font; one font for the whole
    // form keeps every caption inside its cell whatever the desktop's default.
    QFont formFont = font();
    formFont.setPixelSize(11);
    setFont(formFont);
    startupTimer_.setSingleShot(true);
    startupTimer_.setInterval(1);
    connect(&startupTimer_, &QTimer::timeout, this, &COrvelView::OnStartupTimer);
    connect(panel_, &ControlPanel::remoteCheckChanged, this,
            [this](bool checked) { SetRemoteChecked(checked ? 1 : 0); });
    SetLinkView(this);
    // The auto tune wait window polls the analyzer through the link.
    CMessageDlg::SetDefaultPortReader([](int maxBytes) {
        gLink.rxBuffer[0] = '\0';
        return ReadUpTo(maxBytes);
    });
    WireMenu();
    analysis_ = new LiveAnalysis(frame_, menu_->menuOf(menuid::kHelp)->menuAction(), display_);
}

COrvelView::~COrvelView() {
    ShutDown();
    SetLinkView(nullptr);
}

// --- Shared by the link and the panel ---

void COrvelView::UpdateTraces() {
    display_->UpdateTraces();
}

void COrvelView::UpdateChannelPowerCursors() {
    display_->UpdateChannelPowerCursors();
}

void COrvelView::UpdateAcpCursors() {
    display_->UpdateAcpCursors();
}

void COrvelView::UpdateZone() {
    display_->UpdateZone();
}

// --- LinkView ---

void COrvelView::SetWaitCursor(bool on) {
    if (on) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursorDepth_;
    } else if (waitCursorDepth_ > 0) {
        QGuiApplication::restoreOverrideCursor();
        --waitCursorDepth_;
    }
}

void COrvelView::ShowMessage(MessageIcon icon, const char* caption, const char* text,
                             bool ownedByView) {
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == MessageIcon::Warning) {
        boxIcon = QMessageBox::Warning;
    } else if (icon == MessageIcon::Error) {
        boxIcon = QMessageBox::Critical;
    }
    QMessageBox box(boxIcon, QString::fromLatin1(caption), QString::fromLatin1(text),
                    QMessageBox::Ok, ownedByView ? this : nullptr);
    box.exec();
}

int COrvelView::DetailedTraceChecked() {
    return menu_->action(menuid::kDetailedTrace)->isChecked() ? 1 : 0;
}

void COrvelView::UpdateSweepAndUnitLabels() {
    UpdateUnitLabels();
    // The acquisition step calls this once per new trace, right after drawing it.
    analysis_->TraceArrived();
    if (recording_ != nullptr) {
        recording_->TraceArrived();
    }
}

void COrvelView::ShowMeasurementResult(const char* text) {
    display_->Strip()->result->setText(QString::fromLatin1(text));
}

void COrvelView::UpdateObwDisplay() {
    display_->UpdateObwDisplay();
}

void COrvelView::ShowReadSetting(int /*queryCode*/) {
    panel_->FillFromSettings();
}

void COrvelView::ShowAllSettings() {
    panel_->FillFromSettings();
}

void COrvelView::UpdateFrequencyAxis() {
    UpdateFrequencyLabels();
}

void COrvelView::UpdateLevelAxis() {
    UpdateTraces();
}

void COrvelView::SetRemoteChecked(int on) {
    menu_->action(menuid::kRemote)->setChecked(on != 0);
}

void COrvelView::ClearAutoBox(int commandCode) {
    QCheckBox* box = nullptr;
    if (commandCode == 104) {
        box = panel_->rbwAutoBox;
    } else if (commandCode == 105) {
        box = panel_->vbwAutoBox;
    } else if (commandCode == 128) {
        box = panel_->sweepAutoBox;
    }
    if (box != nullptr) {
        box->setChecked(false);
    }
}

void COrvelView::UpdateMeasurementDisplay() {
    display_->UpdateMeasurementDisplay();
}

void COrvelView::UpdateFieldStrengthDisplay() {
    if (gSettings.measureIndex == 4) {
        computeAntennaReference(gSettings.antennaIndex);
    } else if (gSettings.measureIndex == 5) {
        computeProbeReference(gSettings.probeIndex);
    }
    UpdateUnitLabels();
}

// --- PanelView ---

void COrvelView::UpdateFrequencyLabels() {
    display_->UpdateFrequencyLabels();
}

void COrvelView::UpdateMarkerReadouts() {
    display_->UpdateMarkerReadouts();
}

void COrvelView::SyncMeasurementFrequencies() {
    display_->SyncMeasurementFrequencies();
}

void COrvelView::UpdateUnitLabels() {
    const UnitLabelUpdate update = updateUnitLabels();
    panel_->ApplyUnitLabelUpdate(update);
    ShowUnitTexts(update.texts.unitLabel, update.texts.markerLevelLabel);
}

void COrvelView::ShowUnitTexts(const char* unitLabel, const char* markerLevelLabel) {
    if (unitLabel != nullptr) {
        display_->Strip()->unitLabel->setText(QString::fromLatin1(unitLabel));
    }
    if (markerLevelLabel != nullptr) {
        const QString text = QString::fromLatin1(markerLevelLabel);
        display_->Markers()->marker1LevelLabel->setText(text);
        display_->Markers()->marker2LevelLabel->setText(text);
    }
}

void COrvelView::UpdateMeasurementLabels() {
    UpdateMeasurementDisplay();
}

void COrvelView::SetDefaultSettings() {
    ::SetDefaultSettings();
    display_->SyncControls();
}

void COrvelView::ReadAllSettings() {
    ::ReadAllSettings();
}

void COrvelView::AcquireStep() {
    ::AcquireStep();
}

int COrvelView::RunAutoTuneWait() {
    gSettings.memorySelectKind = 0;
    CMessageDlg wait(this);
    return wait.exec();
}

void COrvelView::ShowWarningBox(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Orvel"), text, QMessageBox::Ok, this);
    box.exec();
}

// --- Layout ---

void COrvelView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyLayout(event->size().width(), event->size().height());
}

void COrvelView::ApplyLayout(int width, int height) {
    const display::ViewLayout layout = display_->ApplySizeChange(width, height);
    if (!layout.compact) {
        panel_->move(layout.rightPanel.x, ControlPanel::kFormTop);
    }
}

bool COrvelView::RefuseInCompactMode() {
    return panel_->RefuseInCompactMode();
}
