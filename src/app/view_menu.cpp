// The menu's entries wired to their operations. Entries whose operations are not part of the
// program yet stay visible but disabled.

#include "orvel_view.h"

#include "about_dialog.h"
#include "acquisition.h"
#include "all_settings.h"
#include "color_edit_dialog.h"
#include "command_set.h"
#include "control_panel.h"
#include "display_model.h"
#include "hard_copy_dialog.h"
#include "hard_copy_transfer.h"
#include "help_dialog.h"
#include "instrument_settings.h"
#include "link_busy.h"
#include "main_menu.h"
#include "marker_conversion_dialog.h"
#include "menu_ids.h"
#include "recording_menu.h"
#include "screen_capture.h"
#include "serial_port.h"
#include "setup_sheet.h"
#include "trace_display.h"
#include "trace_operations.h"
#include "user_data_upload.h"

#include <QAction>
#include <QMainWindow>

void COrvelView::WireMenu() {
    using namespace menuid;
    for (QAction* action : menu_->actions()) {
        action->setEnabled(false);
    }
    auto wire = [this](int id, auto handler) {
        QAction* action = menu_->action(id);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    // These refuse, with a message, while the window is too small for the panel.
    auto wireRefusing = [this, wire](int id, auto handler) {
        wire(id, [this, handler] {
            if (!RefuseInCompactMode()) {
                handler();
            }
        });
    };

    for (int id : {kLoadRvx, kLoadRvxTraceOnly, kLoadRvxParamOnly, kLoadPc, kLoadPcTraceOnly,
                   kLoadPcParamOnly}) {
        wire(id, [this, id] { traceops::LoadTrace(*this, id); });
    }
    wire(kSave, [this] { traceops::SaveTraceFile(*this); });
    wire(kRvxDataSave, [this] { traceops::SaveMemoriesToFiles(*this); });
    wire(kRvxDataDelete, [this] { traceops::DeleteMemories(*this); });
    wire(kWriteEfUserData, [this] { WriteEfUserData(this); });
    wire(kWriteMfUserData, [this] { WriteMfUserData(this); });
    wire(kPrint, [this] { capture::PrintCommand(frame_, this); });
    wire(kCaptureSave, [this] { capture::SaveCaptureCommand(this); });
    wire(kCaptureClipboard, [this] { capture::ClipboardCaptureCommand(this); });
    wire(kHardCopy, [this] { OnHardCopy(); });
    recording_ = new RecordingMenu(menu_->action(kRecord), this);
    wire(kRecord, [this] { recording_->Toggle(); });
    wire(kExit, [this] { frame_->close(); });

    wireRefusing(kAllReading, [] { AllReadingCommand(); });
    wireRefusing(kAllSetting, [] { AllSettingCommand(); });
    wireRefusing(kPreset, [this] { panel_->OnPreset(); });
    wireRefusing(kAutoTune, [this] { panel_->OnAutoTuneMenu(); });
    wireRefusing(kHoldRun, [this] { panel_->OnHoldRunMenu(); });
    wire(kRemote, [this] { panel_->OnRemote(); });

    wireRefusing(kTraceSelect, [this] { display_->ShowTraceSelect(); });
    wireRefusing(kConversion, [this] { OnConversion(); });
    wireRefusing(kMeasuringFunction, [this] { display_->Measurements().ShowMeasuringFunction(); });
    wireRefusing(kMarkerToCf, [this] { display_->Markers().MarkerToCenter(); });

    // The display keeps these check marks: Detailed Trace is read back before each acquisition
    // and saved in the settings file; one Marker Display entry is checked at a time.
    menu_->adopt(kDetailedTrace, display_->DetailedTraceAction());
    for (int entry = 0; entry < 4; ++entry) {
        menu_->adopt(kMarker1And2 + entry, display_->Markers().MarkerDisplayAction(entry));
    }

    wire(kSetup, [this] { OnSetup(); });
    wire(kColorEdit, [this] { OnColorEdit(); });
    wire(kHelp, [this] { OnHelp(); });
    wire(kAbout, [this] { OnAbout(); });
}

void COrvelView::SetHeld() {
    panel_->SetHeld();
}

void COrvelView::ApplyTraceRecord(int mode, bool fromAnalyzer) {
    panel_->ApplyTraceRecord(mode, fromAnalyzer);
}

void COrvelView::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void COrvelView::OnConversion() {
    const int displayUnit = display::DisplayUnit();
    MarkerConversionDialog dialog(displayUnit, gSettings.conversionIndex == 0 ? 0 : 1, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Choice() == gSettings.conversionIndex) {
        return;
    }
    PauseAcquisition();
    gSettings.conversionIndex = dialog.Choice();
    UpdateUnitLabels();
    SendCommand(cmd::kConversion);
    display_->Markers().UpdateMarkerReadouts();
    ResumeAcquisition();
}

void COrvelView::OnSetup() {
    {
        Cpsheet sheet(this);
        sheet.exec();
    }
    // Whatever the user did: the port opens again with what is stored now and the analyzer is
    // looked for again.
    PauseAcquisition();
    CommPort(portop::kClose);
    CommPort(portop::kOpen);
    WaitMilliseconds(200);
    gSettings.instrumentPresent = CheckPresence();
    SetPortTimeouts(portprofile::kLong);
    panel_->RebuildSpanListForModel();
    ResumeAcquisition();
}

void COrvelView::OnColorEdit() {
    const SavedColors saved = SavedColors::Take();
    CColorEditDlg dialog(this);
    if (dialog.exec() == QDialog::Accepted) {
        display_->ApplyColors();
    } else {
        saved.Restore();
    }
}

void COrvelView::OnHardCopy() {
    // The window's transfer is the one exchange on the line while it is open: the loop's timers
    // leave the port alone meanwhile.
    LinkBusyScope busy;
    CHardCopyDlg dialog(this);
    PauseAcquisition();
    dialog.exec();
    if (dialog.abandonedTransfer()) {
        // The rest of the picture would otherwise reach the loop's next exchange.
        SetWaitCursor(true);
        DiscardRestOfReply(300, 10000);
        SetWaitCursor(false);
    }
    ResumeAcquisition();
}

void COrvelView::OnHelp() {
    CHelpDlg help(this);
    help.exec();
}
