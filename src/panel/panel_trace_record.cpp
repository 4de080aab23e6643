// Applying a trace record (a loaded file or a recalled memory) to the program: the active slot's
// trace, the settings it carries, the resend to the analyzer and the refresh.

#include "control_panel.h"

#include "command_codes.h"
#include "instrument_settings.h"
#include "level_units.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_view.h"
#include "trace_kinds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cstring>

namespace {

// refLevel (dBm) from a recalled record's reference in the record's own unit; field kinds keep it.
void TakeAnalyzerReference(InstrumentSettings& s, int kind, int recordReference) {
    if (kind == 0 || kind == 1 || kind == 2 || kind == 30 || kind == 31)
        s.refLevel = recordReference;
    else if (kind == 32 || kind == 33)
        s.refLevel = recordReference - 107;
    else if (kind == 34 || kind == 35)
        s.refLevel = recordReference - 47;
    else if (kind == 36 || kind == 37)
        s.refLevel = recordReference + 13;
}

} // namespace

void ControlPanel::ApplyTraceRecord(int mode, bool fromAnalyzer) {
    InstrumentSettings& s = gSettings;
    TraceRecord& r = s.traceRecord;
    const int slot =
        s.activeTraceSlot >= 0 && s.activeTraceSlot < kTraceSlots ? s.activeTraceSlot : 1;
    const int kind = r.recordKind;
    const int points = tracekind::pointCount(kind); // none for the empty kind
    if (points > 0)
        std::memcpy(s.traceStore[slot], r.tracePoints, static_cast<std::size_t>(points));
    s.traceKind[slot] = kind;

    const bool withSettings = mode != kApplyTraceOnly;
    const bool field = tracekind::isFieldStrengthKind(kind);
    if (withSettings) {
        if (fromAnalyzer) {
            refLevelEdit->setText(QString::number(r.recordRefLevel));
            TakeAnalyzerReference(s, kind, r.recordRefLevel);
        } else {
            if (!field)
                s.refLevel = r.recordRefLevel;
            const int shown = referenceInDisplayUnit(s.refLevel);
            refLevelEdit->setText(QString::number(shown));
            r.recordRefLevel = shown;
        }
    }
    attenuatorReadout->setText(QString::fromStdString(attenuatorText(s.refLevel)));

    if (withSettings) {
        s.centerFreq = r.recordCenterFreq;
        centerEdit->setText(QString::fromStdString(formatSI(s.centerFreq, kFreqEditFormat)));
        s.spanIndex = r.recordSpanIndex;
        s.rbwIndex = r.recordRbwIndex;
        s.vbwIndex = r.recordVbwIndex;
        s.sweepIndex = r.recordSweepIndex;
        s.detectorIndex = r.recordDetectorIndex;
        s.scaleIndex = r.recordScaleIndex;
        const int unit = tracekind::unitOfKind(kind);
        s.unitIndex = unit >= 0 && unit <= 3 ? unit : 0;
        SelectIndex(spanCombo, s.spanIndex);
        SelectIndex(rbwCombo, s.rbwIndex);
        SelectIndex(vbwCombo, s.vbwIndex);
        SelectIndex(detectorCombo, s.detectorIndex);
        SelectIndex(scaleCombo, s.scaleIndex);
        if (unitCombo->count() == 4)
            SelectIndex(unitCombo, s.unitIndex);
        SetAutoBoxes(false);
    }

    link_->PauseAcquisition();
    if (link_->SendCommand(cmd::kFreq)) {
        for (int code : {cmd::kSpan, cmd::kRef, cmd::kUnit, cmd::kRbw, cmd::kVbw, cmd::kScale,
                         cmd::kSweep, cmd::kDetector})
            link_->SendCommand(code);
    }
    ShowSpanIndex();

    FieldSet changed = Field::CenterFreq | Field::Span;
    if (mode == kApplyWhole)
        changed = changed | Field::TraceView;
    else if (mode == kApplyTraceOnly)
        changed = changed | Field::TraceSlots;
    Changed(changed);
    link_->ResumeAcquisition();
}
