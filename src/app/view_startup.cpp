// The view's start-up (first update and the one-shot start-up timer) and its shut-down.

#include "orvel_view.h"

#include "acquisition.h"
#include "all_settings.h"
#include "command_set.h"
#include "control_panel.h"
#include "instrument_settings.h"
#include "level_units.h"
#include "link_poller.h"
#include "live_analysis.h"
#include "main_menu.h"
#include "marker_panel.h"
#include "menu_ids.h"
#include "serial_port.h"
#include "settings_file.h"
#include "trace_display.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QRadioButton>

#include <algorithm>

void COrvelView::OnInitialUpdate() {
    // The frame shrinks to the form where the form is the smaller one.
    const QSize form = sizeHint();
    if (form.isValid()) {
        frame_->resize(frame_->width() - std::max(0, width() - form.width()),
                       frame_->height() - std::max(0, height() - form.height()));
    }
    SetDefaultSettings();
    ReadSettingsAtStart();
    CommPort(portop::kOpen);
    WaitMilliseconds(200);
    InitializeView();
    analysis_->Start(programDirectory_.isEmpty() ? QString::fromStdString(ProgramDirectory())
                                                 : programDirectory_);
    startupTimer_.start();
}

void COrvelView::ReadSettingsAtStart() {
    if (programDirectory_.isEmpty()) {
        ReadWriteSettings(SettingsDirection::Read);
        return;
    }
    const QByteArray directory = QDir::toNativeSeparators(programDirectory_).toLocal8Bit();
    ReadSettingsFile(directory.constData());
    QDir::setCurrent(programDirectory_);
}

void COrvelView::InitializeView() {
    SetPortTimeouts(portprofile::kShort);
    gSettings.instrumentPresent = CheckPresence();
    if (gSettings.instrumentPresent == 0) {
        gSettings.instrumentPresent = CheckPresence();
    }

    QAction* detailedTrace = menu_->action(menuid::kDetailedTrace);
    if (gSettings.startSetting == 0 && gSettings.instrumentPresent != 0) {
        // All Reading: the analyzer's state fills the record and the panel.
        SetPortTimeouts(portprofile::kLong);
        ::ReadAllSettings();
        display_->Measurements().UpdateMeasurementDisplay();
        ShowStartupPanelState();
        detailedTrace->setChecked(gSettings.detailedTrace == 1);
        panel_->ShowReference();
        panel_->ShowOffset();
        panel_->ApplyUnitLabelUpdate(updateUnitLabelsForMeasurement());
    } else {
        // All Setting, or no analyzer: the panel shows the record, which then goes out.
        display_->Measurements().UpdateMeasurementDisplay();
        panel_->FillFromSettings();
        display_->UpdateFrequencyLabels();
        ShowStartupPanelState();
        detailedTrace->setChecked(gSettings.detailedTrace == 1);
        SetRemoteChecked(gSettings.remoteState == 1 ? 1 : 0);
        if (gSettings.instrumentPresent != 0) {
            SendAllSettings();
            SendCommand(cmd::kVersion);
        }
        UpdateUnitLabels();
    }

    ApplyGraphColours();
    menu_->checkMarkerDisplay(menuid::kMarker1And2);

    // The empty graph is drawn once at the full 1001 points, then the slot is marked empty.
    const int slot = std::clamp(gSettings.activeTraceSlot, 0, kTraceSlots - 1);
    gSettings.traceKind[slot] = tracekind::kSpectrum1001;
    display_->UpdateTraces();
    gSettings.traceKind[slot] = tracekind::kEmpty;
    display_->Markers().UpdateMarkerReadouts();

    panel_->RebuildSpanListForModel();

    if (gSettings.requiredFileFound == 1) {
        if (gSettings.instrumentPresent == 0) {
            ShowCommunicationError();
        }
        SetPortTimeouts(portprofile::kShort);
        startupTimer_.start();
    }
    frame_->setGeometry(0, 0, 978, 748);
}

void COrvelView::ShowStartupPanelState() {
    display_->Markers().ShowStartupState(gSettings.startSetting != 0 ||
                                         gSettings.instrumentPresent == 0);
    display_->ShowZoomListsUnzoomed();
}

void COrvelView::ApplyGraphColours() {
    display_->ApplyColors();
}

void COrvelView::OnStartupTimer() {
    startupTimer_.stop();
    // From now on a small window takes the compact layout.
    display_->FinishStartup();
    if (gSettings.requiredFileFound == 0) {
        ShowMessage(MessageIcon::Error, "Starting error", "A required file is not found.", true);
        QMetaObject::invokeMethod(frame_, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    if (gSettings.startWindowState == 1) {
        frame_->setWindowState((frame_->windowState() & ~Qt::WindowMinimized) |
                               Qt::WindowMaximized);
    } else if (gSettings.startWindowState == 2) {
        frame_->setWindowState(frame_->windowState() | Qt::WindowMinimized);
    }
    RestartPolling();
}

void COrvelView::ShutDown() {
    if (shutDownDone_) {
        return;
    }
    shutDownDone_ = true;
    startupTimer_.stop();
    poller_->StopPeriodicTimer();
    CommPort(portop::kClose);
    if (gSettings.requiredFileFound != 0) {
        // The settings file keeps the menu's check mark.
        gSettings.detailedTrace = DetailedTraceChecked();
        ReadWriteSettings(SettingsDirection::Write);
    }
}
