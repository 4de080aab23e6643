// Handlers of the panel controls: each stores its value in the settings record, sends it, reads
// back what the analyzer couples to it, and refreshes what depends on it, bracketed by pausing
// and resuming the acquisition loop.

#include "control_panel.h"

#include "command_codes.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "level_units.h"
#include "modes.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_rules.h"
#include "panel_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

using namespace cmd;

namespace {

// The edit's text as Latin-1 bytes for the number parser (the edit holds at most 64 characters).
QByteArray EditBytes(const QLineEdit* edit) {
    return edit->text().toLatin1();
}

double ParseEdit(const QLineEdit* edit) {
    const QByteArray text = EditBytes(edit);
    double value = 0.0;
    parseSI(text.constData(), static_cast<std::size_t>(text.size()), &value);
    return value;
}

} // namespace

// For each auto box that is checked (and asked for), read the coupled value back.
void ControlPanel::AutoReadBack(bool rbw, bool vbw, bool sweep) {
    if (rbw && rbwAutoBox->isChecked()) {
        link_->SendCommand(query::kRbw);
        SelectIndex(rbwCombo, gSettings.rbwIndex);
    }
    if (vbw && vbwAutoBox->isChecked()) {
        link_->SendCommand(query::kVbw);
        SelectIndex(vbwCombo, gSettings.vbwIndex);
    }
    if (sweep && sweepAutoBox->isChecked()) {
        link_->SendCommand(query::kSweep);
        SelectSweepIndex(gSettings.sweepIndex);
    }
}

// Stores the offset as it is shown with one decimal, so that the record, the edit and the command
// all carry the same value; the spin follows.
void ControlPanel::StoreShownOffset(double dB) {
    offsetEdit->setText(QString::fromStdString(formatSI(dB, kLevelDbFormat)));
    gSettings.levelOffset = panelrules::ClampOffset(ParseEdit(offsetEdit)) + 0.0; // no "-0.0"
    ShowOffset();
}

void ControlPanel::OnCenterFreqEnter() {
    InstrumentSettings& s = gSettings;
    link_->PauseAcquisition();
    if (centerEdit->text().isEmpty())
        centerEdit->setText(QString::fromStdString(formatSI(s.centerFreq, kReadoutFormat)));
    s.centerFreq = panelrules::ClampCenterFreq(ParseEdit(centerEdit), s.modelIndex);
    centerEdit->setText(QString::fromStdString(formatSI(s.centerFreq, kReadoutFormat)));
    link_->SendCommand(kFreq);
    Changed(Field::CenterFreq);
    link_->ResumeAcquisition();
}

void ControlPanel::OnSpanChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = spanCombo->currentIndex();
    if (chosen < 0 || chosen == s.spanIndex)
        return;
    const int old = s.spanIndex;
    s.spanIndex = chosen;
    link_->PauseAcquisition();
    link_->SendCommand(kSpan);
    if (panelrules::SpanExcludesFastSweep(s.modelIndex, chosen)) {
        if (SweepListOffset() == 0 && s.sweepIndex == 0)
            s.sweepIndex = 1;
        if (panelrules::IsFullSpan(s.modelIndex, chosen)) {
            s.centerFreq = panelrules::CenterFreqLimit(s.modelIndex) / 2.0;
            centerEdit->setText(QString::fromStdString(formatSI(s.centerFreq, kFreqEditFormat)));
            centerEdit->setEnabled(false);
        }
    }
    if (panelrules::IsFullSpan(s.modelIndex, old) &&
        !panelrules::IsFullSpan(s.modelIndex, chosen)) {
        link_->SendCommand(query::kFreq);
        centerEdit->setEnabled(true);
        centerEdit->setText(QString::fromStdString(formatSI(s.centerFreq, kReadoutFormat)));
    }
    SyncSweepListToSpan();
    Changed(Field::CenterFreq | Field::Span);
    AutoReadBack(true, true, true);
    link_->ResumeAcquisition();
}

void ControlPanel::OnRbwChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = rbwCombo->currentIndex();
    if (chosen < 0 || chosen == s.rbwIndex)
        return;
    link_->PauseAcquisition();
    s.rbwIndex = chosen;
    link_->SendCommand(kRbw);
    rbwAutoBox->setChecked(false);
    AutoReadBack(false, true, true);
    link_->ResumeAcquisition();
}

void ControlPanel::OnVbwChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = vbwCombo->currentIndex();
    if (chosen < 0 || chosen == s.vbwIndex)
        return;
    link_->PauseAcquisition();
    s.vbwIndex = chosen;
    link_->SendCommand(kVbw);
    vbwAutoBox->setChecked(false);
    AutoReadBack(true, false, true);
    link_->ResumeAcquisition();
}

void ControlPanel::OnRbwAutoClicked() {
    if (!rbwAutoBox->isChecked())
        return;
    link_->PauseAcquisition();
    if (link_->SendAutoCoupling(kRbw)) {
        link_->SendCommand(query::kRbw);
        SelectIndex(rbwCombo, gSettings.rbwIndex);
    }
    link_->ResumeAcquisition();
}

void ControlPanel::OnVbwAutoClicked() {
    if (!vbwAutoBox->isChecked())
        return;
    link_->PauseAcquisition();
    if (link_->SendAutoCoupling(kVbw)) {
        link_->SendCommand(query::kVbw);
        SelectIndex(vbwCombo, gSettings.vbwIndex);
    }
    link_->ResumeAcquisition();
}

void ControlPanel::OnSweepAutoClicked() {
    if (!sweepAutoBox->isChecked())
        return;
    link_->PauseAcquisition();
    if (link_->SendAutoCoupling(kSweep)) {
        link_->SendCommand(query::kSweep);
        SelectSweepIndex(gSettings.sweepIndex);
    }
    link_->ResumeAcquisition();
}

void ControlPanel::OnSweepChanged() {
    InstrumentSettings& s = gSettings;
    const int position = sweepCombo->currentIndex();
    if (position < 0)
        return;
    const int chosen = position + SweepListOffset();
    if (chosen == s.sweepIndex)
        return;
    link_->PauseAcquisition();
    const int old = s.sweepIndex;
    s.sweepIndex = chosen;
    Changed(Field::Sweep);
    link_->SendCommand(kSweep);
    // The analyzer changes the detector when sweeps cross 0.1 s.
    if (chosen < 2 || (old < 2 && chosen >= 2)) {
        link_->SendCommand(query::kDetector);
        SelectIndex(detectorCombo, s.detectorIndex);
    }
    link_->RestartPolling();
    sweepAutoBox->setChecked(false);
    AutoReadBack(true, true, false);
    link_->ResumeAcquisition();
}

void ControlPanel::OnRefLevelEnter() {
    InstrumentSettings& s = gSettings;
    link_->PauseAcquisition();
    int unit = unitCombo->currentIndex();
    if (unit < 0)
        unit = s.unitIndex;
    if (refLevelEdit->text().isEmpty())
        refLevelEdit->setText(QString::number(DisplayedReference(unit)));
    const double typed = ParseEdit(refLevelEdit);
    const int unitOffset = UnitOffset(unit);
    const panelrules::ReferenceRange range =
        panelrules::ReferenceRangeFor(unitOffset, s.levelOffset);
    const int shown = panelrules::ClampReference(typed, range);
    s.refLevel = shown - unitOffset - levelunits::roundReference(0.0, s.levelOffset);
    refLevelEdit->setText(QString::number(shown));
    {
        const QSignalBlocker block(refLevelSpin);
        refLevelSpin->setValue(shown);
    }
    link_->SendCommand(kRef);
    attenuatorReadout->setText(QString::fromStdString(attenuatorText(s.refLevel)));
    link_->ResumeAcquisition();
}

void ControlPanel::OnOffsetEnter() {
    InstrumentSettings& s = gSettings;
    link_->PauseAcquisition();
    if (offsetEdit->text().isEmpty())
        offsetEdit->setText(QString::fromStdString(formatSI(s.levelOffset, kLevelDbFormat)));
    StoreShownOffset(panelrules::ClampOffset(ParseEdit(offsetEdit)));
    ShowReference();
    link_->SendCommand(kOffset);
    link_->ResumeAcquisition();
}

// The spins change the stored value and the text only; Return in the edit sends it.
void ControlPanel::OnRefLevelSpin(int position) {
    InstrumentSettings& s = gSettings;
    refLevelEdit->setText(QString::number(position));
    int unit = unitCombo->currentIndex();
    if (unit < 0)
        unit = s.unitIndex;
    const int unitOffset = UnitOffset(unit);
    const int shown = panelrules::ClampReference(
        ParseEdit(refLevelEdit), panelrules::ReferenceRangeFor(unitOffset, s.levelOffset));
    s.refLevel = shown - unitOffset - levelunits::roundReference(0.0, s.levelOffset);
    refLevelEdit->setText(QString::number(shown));
    const QSignalBlocker block(refLevelSpin);
    refLevelSpin->setValue(shown);
}

void ControlPanel::OnOffsetSpin(int position) {
    gSettings.levelOffset = (position - 500) / 10.0;
    offsetEdit->setText(QString::fromStdString(formatSI(gSettings.levelOffset, kLevelDbFormat)));
    ShowReference();
}

void ControlPanel::OnUnitChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = unitCombo->currentIndex();
    if (chosen < 0 || chosen > 3 || chosen == s.unitIndex)
        return;
    link_->PauseAcquisition();
    s.unitIndex = chosen;
    link_->SendCommand(kUnit);
    referenceLabel->setText(
        QString::fromLatin1(unitFormTexts(chosen, s.conversionIndex).referenceLabel));
    ShowReference();
    Changed(Field::Unit);
    link_->ResumeAcquisition();
}

void ControlPanel::OnScaleChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = scaleCombo->currentIndex();
    if (chosen < 0 || chosen == s.scaleIndex)
        return;
    link_->PauseAcquisition();
    s.scaleIndex = chosen;
    link_->SendCommand(kScale);
    Changed(Field::Scale);
    link_->ResumeAcquisition();
}

void ControlPanel::OnDetectorChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = detectorCombo->currentIndex();
    if (chosen < 0 || chosen == s.detectorIndex)
        return;
    link_->PauseAcquisition();
    s.detectorIndex = chosen;
    link_->SendCommand(kDetector);
    link_->ResumeAcquisition();
}

void ControlPanel::OnImpedanceChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = impedanceCombo->currentIndex();
    if (chosen < 0 || chosen == s.impedanceIndex)
        return;
    link_->PauseAcquisition();
    s.levelOffset = chosen == 0 ? 0.0 : 5.7;
    s.impedanceIndex = chosen;
    StoreShownOffset(s.levelOffset);
    ShowReference();
    if (link_->SendCommand(kImpedance))
        link_->SendCommand(kOffset);
    link_->ResumeAcquisition();
}

void ControlPanel::OnCalcChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = calcCombo->currentIndex();
    if (chosen < 0 || chosen == s.calcIndex)
        return;
    link_->PauseAcquisition();
    s.calcIndex = chosen;
    if (chosen == 1)
        link_->SendCommand(query::kMaxCount);
    else if (chosen == 2)
        link_->SendCommand(query::kMinCount);
    else if (chosen == 3)
        link_->SendCommand(query::kAveCount);
    SelectCountForCalc();
    link_->SendCommand(kCalc);
    if (s.runState == 1)
        link_->SendCommand(kRunHold);
    link_->RestartPolling();
    link_->ResumeAcquisition();
}

void ControlPanel::OnCountChanged() {
    InstrumentSettings& s = gSettings;
    const int position = countCombo->currentIndex();
    if (position < 0)
        return;
    const int value = position == 10 ? 0 : countCombo->itemText(position).toInt();
    int* stored = nullptr;
    int command = 0;
    switch (modes::Calc(s)) {
    case Calculation::MaxHold:
        stored = &s.maxCount;
        command = kMaxCount;
        break;
    case Calculation::MinHold:
        stored = &s.minCount;
        command = kMinCount;
        break;
    case Calculation::Average:
        stored = &s.aveCount;
        command = kAveCount;
        break;
    default:
        return;
    }
    if (value == *stored)
        return;
    link_->PauseAcquisition();
    *stored = value;
    link_->SendCommand(command);
    link_->SendCommand(kCalc);
    link_->ResumeAcquisition();
}

void ControlPanel::OnMarkerModeChanged() {
    InstrumentSettings& s = gSettings;
    const int chosen = markerModeCombo->currentIndex();
    if (chosen < 0 || chosen == s.markerMode)
        return;
    link_->PauseAcquisition();
    s.markerMode = chosen;
    link_->SendCommand(kMarkerMode);
    Changed(Field::MarkerMode);
    link_->ResumeAcquisition();
}

void ControlPanel::OnHoldButton() {
    InstrumentSettings& s = gSettings;
    if (s.compactMode) {
        holdButton->setChecked(s.runState == 1);
        return;
    }
    if (!holdButton->isChecked()) {
        // Paused while still running, so that a capture under way is quieted now rather than
        // answering the next command with its "COMP". Acquisition stays paused while held.
        link_->PauseAcquisition();
        s.runState = 0;
        SetHoldCaption();
        emit runStateChanged(false);
        return;
    }
    s.runState = 1;
    SetHoldCaption();
    emit runStateChanged(true);
    if (modes::Accumulating(s))
        link_->SendCommand(kRunHold);
    link_->AcquireStep();
    link_->RestartPolling();
    link_->ResumeAcquisition();
}

void ControlPanel::OnAutoTuneButton() {
    InstrumentSettings& s = gSettings;
    autoTuneButton->setChecked(true);
    s.memorySelectKind = 0;
    autoTuneButton->setText(QStringLiteral("Auto Tuning..."));
    // Quiet a capture in progress before the loop stops, so its "COMP" cannot answer "AUTO".
    link_->PauseAcquisition();
    SetHeld();
    link_->SendCommand(kAutoTune);
    if (view_->RunAutoTuneWait() == 1) {
        link_->ReadAllSettings();
        if (link_->SendAutoCoupling(kRbw)) {
            link_->SendCommand(query::kRbw);
            SelectIndex(rbwCombo, gSettings.rbwIndex);
        }
        if (link_->SendAutoCoupling(kVbw)) {
            link_->SendCommand(query::kVbw);
            SelectIndex(vbwCombo, gSettings.vbwIndex);
        }
        if (link_->SendAutoCoupling(kSweep)) {
            link_->SendCommand(query::kSweep);
            SelectSweepIndex(s.sweepIndex);
        }
        link_->AcquireStep();
        SetAutoBoxes(true);
    }
    autoTuneButton->setText(QStringLiteral("Auto Tune"));
    autoTuneButton->setChecked(false);
    link_->ResumeAcquisition();
}
