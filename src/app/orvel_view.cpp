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
#include "modes.h"
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
    displayHost_ = std::make_unique<ViewDisplayHost>();
    display_ = new TraceDisplay(this, displayHost_.get());
    connect(display_, &TraceDisplay::CompactModeChanged, this,
            [this](bool compact) { panel_->setVisible(!compact); });
    connect(display_, &TraceDisplay::ActiveTraceChanged, this, [this](int) { UpdateUnitLabels(); });
    connect(display_, &TraceDisplay::MarkerBlockEnabledChanged, panel_,
            &ControlPanel::SetMarkerModeEnabled);
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
    SetChangeListener([this](FieldSet changed) { OnChanged(changed); });
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
    SetChangeListener(nullptr);
    SetLinkView(nullptr);
}

void COrvelView::OnChanged(FieldSet changed) {
    const InstrumentSettings& s = gSettings;
    panel_->ShowChanged(changed);
    if (changed.Any(Field::Remote))
        SetRemoteChecked(s.remoteState);
    display_->Refresh(changed);
    if (changed.Any(Field::FromAnalyzer))
        return;
    // The unit labels are shared by the panel and the display.
    const FieldSet axis = Field::CenterFreq | Field::Span;
    if (changed.Any(Field::Unit)) {
        const UnitFormTexts texts = unitFormTexts(s.unitIndex, s.conversionIndex);
        display_->ShowUnitTexts(texts.unitLabel, texts.markerLevelLabel);
    }
    if (changed.Any(Field::Measure)) {
        const UnitLabelUpdate update = updateUnitLabelsForMeasurement();
        panel_->ApplyUnitLabelUpdate(update);
        display_->ShowUnitTexts(update.texts.unitLabel, update.texts.markerLevelLabel);
    } else if (changed.Any(Field::Trace | Field::TraceView | Field::Defaults) ||
               (changed.Any(axis) && modes::FieldStrength())) {
        UpdateUnitLabels();
    }
    if (changed.Any(Field::Trace)) {
        analysis_->TraceArrived();
        if (recording_ != nullptr)
            recording_->TraceArrived();
    }
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

int COrvelView::DetailedTraceChecked() const {
    return menu_->action(menuid::kDetailedTrace)->isChecked() ? 1 : 0;
}

void COrvelView::SetRemoteChecked(int on) {
    menu_->action(menuid::kRemote)->setChecked(on != 0);
}

void COrvelView::UpdateUnitLabels() {
    const UnitLabelUpdate update = updateUnitLabels();
    panel_->ApplyUnitLabelUpdate(update);
    display_->ShowUnitTexts(update.texts.unitLabel, update.texts.markerLevelLabel);
}

void COrvelView::SetDefaultSettings() {
    ::SetDefaultSettings();
    display_->SyncControls();
}

// --- PanelView ---

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
