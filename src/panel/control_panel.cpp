#include "control_panel.h"

#include "command_codes.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "level_units.h"
#include "modes.h"
#include "number_text.h"
#include "panel_link.h"
#include "panel_rules.h"
#include "panel_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <utility>

namespace {

const char* const kSpanItems410[] = {"Zero", "200k", "500k", "1M",   "2M", "5M", "10M", "20M",
                                     "50M",  "100M", "200M", "500M", "1G", "2G", "Full"};
const char* const kSpanItems420[] = {"Zero", "200k", "500k", "1M",   "2M", "5M", "10M", "20M",
                                     "50M",  "100M", "200M", "500M", "1G", "2G", "5G",  "FULL"};
const char* const kRbwItems[] = {"3k", "10k", "30k", "100k", "300k", "1M", "3M"};
const char* const kVbwItems[] = {"100", "300", "1k", "3k", "10k", "30k", "100k", "300k", "1M"};
const char* const kUnitItems[] = {"dBm", "dBuV", "dBmV", "dBV", "dBuV/m", "dBuA/m"};
const char* const kScaleItems[] = {"2dB/div", "10dB/div"};
const char* const kSweepItems[] = {"10ms", "30ms", "0.1s", "0.3s", "1s", "3s", "10s", "30s"};
const char* const kDetectorItems[] = {"PosPK", "NegPK", "SMPL"};
const char* const kCalcItems[] = {"Normal", "MaxHold", "MinHold", "Average", "OverWR"};
const char* const kCountItems[] = {"2",   "4",   "8",   "16",   "32", "64",
                                   "128", "256", "512", "1024", "**"};
const char* const kImpedanceItems[] = {"50", "75"};
const char* const kMarkerModeItems[] = {"Normal", "Delta"};

constexpr int kSweepCount = 8;
constexpr int kCountFull = 11;
constexpr int kCountAverage = 8;
constexpr int kEditMaxLength = 64;

template <std::size_t N> QComboBox* MakeCombo(QWidget* parent, const char* const (&items)[N]) {
    auto* combo = new QComboBox(parent);
    for (const char* item : items)
        combo->addItem(QString::fromLatin1(item));
    return combo;
}

QLabel* Caption(QWidget* parent, const char* text, int x, int y, int width = 105) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(x, y, width, 14);
    return label;
}

} // namespace

const char* const ControlPanel::kCompactRefusalText =
    "When a window is small it is not able to use it.";

ControlPanel::ControlPanel(PanelView* view, PanelLink* link, QWidget* parent)
    : QWidget(parent), view_(view), link_(link) {
    BuildControls();
    ConnectHandlers();
}

ControlPanel::~ControlPanel() = default;

void ControlPanel::BuildControls() {
    setFixedSize(kWidth, kHeight);
    frame_ = new QGroupBox(this);
    frame_->setGeometry(0, 0, kWidth, kHeight);

    // Left column: frequency, bandwidths, level. Positions are the form's, less the block origin.
    constexpr int kLeft = 27;
    Caption(this, "Center(Hz)", kLeft, 24);
    centerEdit = new QLineEdit(this);
    centerEdit->setGeometry(kLeft, 38, 79, 19);
    Caption(this, "Span(Hz)", kLeft, 61);
    spanCombo = MakeCombo(this, kSpanItems410);
    spanCombo->setGeometry(kLeft, 75, 79, 23);
    Caption(this, "RBW(Hz)", kLeft, 102);
    rbwCombo = MakeCombo(this, kRbwItems);
    rbwCombo->setGeometry(kLeft, 116, 79, 23);
    rbwAutoBox = new QCheckBox(this);
    rbwAutoBox->setGeometry(108, 118, 14, 19);
    rbwAutoBox->setToolTip(QStringLiteral("RBW auto"));
    Caption(this, "VBW(Hz)", kLeft, 143);
    vbwCombo = MakeCombo(this, kVbwItems);
    vbwCombo->setGeometry(kLeft, 157, 79, 23);
    vbwAutoBox = new QCheckBox(this);
    vbwAutoBox->setGeometry(108, 159, 14, 19);
    vbwAutoBox->setToolTip(QStringLiteral("VBW auto"));

    referenceLabel = Caption(this, "Reference(dBm)", kLeft, 207);
    refLevelEdit = new QLineEdit(this);
    refLevelEdit->setGeometry(kLeft, 221, 63, 19);
    refLevelSpin = new QSpinBox(this);
    refLevelSpin->setGeometry(89, 221, 17, 19);
    refLevelSpin->setRange(-123, 204);
    Caption(this, "Offset(dBm)", kLeft, 244);
    offsetEdit = new QLineEdit(this);
    offsetEdit->setGeometry(kLeft, 258, 63, 19);
    offsetSpin = new QSpinBox(this);
    offsetSpin->setGeometry(89, 258, 17, 19);
    offsetSpin->setRange(0, 1000);
    offsetSpin->setValue(500);
    Caption(this, "Attenuator(dB)", kLeft, 281);
    attenuatorReadout = new QLineEdit(this);
    attenuatorReadout->setGeometry(kLeft, 295, 63, 19);
    attenuatorReadout->setReadOnly(true);
    Caption(this, "Unit", kLeft, 318);
    unitCombo = new QComboBox(this);
    for (int i = 0; i < 4; ++i)
        unitCombo->addItem(QString::fromLatin1(kUnitItems[i]));
    unitCombo->setGeometry(kLeft, 332, 79, 23);
    Caption(this, "Scale", kLeft, 355);
    scaleCombo = MakeCombo(this, kScaleItems);
    scaleCombo->setGeometry(kLeft, 369, 79, 23);

    // Right column: sweep and trace calculation, then Hold and Auto Tune.
    constexpr int kRight = 122;
    Caption(this, "Sweep Time", kRight, 10);
    sweepCombo = MakeCombo(this, kSweepItems);
    sweepCombo->setGeometry(kRight, 24, 79, 23);
    sweepAutoBox = new QCheckBox(this);
    sweepAutoBox->setGeometry(205, 26, 14, 19);
    sweepAutoBox->setToolTip(QStringLiteral("Sweep time auto"));
    Caption(this, "Detection Mode", kRight, 51);
    detectorCombo = MakeCombo(this, kDetectorItems);
    detectorCombo->setGeometry(kRight, 65, 79, 23);
    Caption(this, "Mode", kRight, 92);
    calcCombo = MakeCombo(this, kCalcItems);
    calcCombo->setGeometry(kRight, 106, 79, 23);
    Caption(this, "Number", kRight, 133);
    countCombo = MakeCombo(this, kCountItems);
    countCombo->setGeometry(kRight, 147, 79, 23);
    Caption(this, "Impedance", kRight, 174);
    impedanceCombo = MakeCombo(this, kImpedanceItems);
    impedanceCombo->setGeometry(kRight, 188, 79, 23);
    Caption(this, "Marker Mode", kRight, 215);
    markerModeCombo = MakeCombo(this, kMarkerModeItems);
    markerModeCombo->setGeometry(kRight, 229, 79, 23);

    holdButton = new QPushButton(QStringLiteral("Hold"), this);
    holdButton->setCheckable(true);
    holdButton->setGeometry(kRight, 264, 105, 45);
    autoTuneButton = new QPushButton(QStringLiteral("Auto Tune"), this);
    autoTuneButton->setCheckable(true);
    autoTuneButton->setGeometry(kRight, 321, 105, 30);

    for (QLineEdit* edit : {centerEdit, refLevelEdit, offsetEdit})
        edit->setMaxLength(kEditMaxLength);
    countCombo->setCurrentIndex(10);
    countCombo->setEnabled(false);
    // Tests find each control by its member name, as a user finds it by its caption.
    const std::pair<QWidget*, const char*> named[] = {
        {centerEdit, "centerEdit"},
        {spanCombo, "spanCombo"},
        {rbwCombo, "rbwCombo"},
        {rbwAutoBox, "rbwAutoBox"},
        {vbwCombo, "vbwCombo"},
        {vbwAutoBox, "vbwAutoBox"},
        {referenceLabel, "referenceLabel"},
        {refLevelEdit, "refLevelEdit"},
        {refLevelSpin, "refLevelSpin"},
        {offsetEdit, "offsetEdit"},
        {offsetSpin, "offsetSpin"},
        {attenuatorReadout, "attenuatorReadout"},
        {unitCombo, "unitCombo"},
        {scaleCombo, "scaleCombo"},
        {sweepCombo, "sweepCombo"},
        {sweepAutoBox, "sweepAutoBox"},
        {detectorCombo, "detectorCombo"},
        {calcCombo, "calcCombo"},
        {countCombo, "countCombo"},
        {impedanceCombo, "impedanceCombo"},
        {markerModeCombo, "markerModeCombo"},
        {holdButton, "holdButton"},
        {autoTuneButton, "autoTuneButton"},
    };
    for (const auto& [widget, name] : named)
        widget->setObjectName(QString::fromLatin1(name));
}

void ControlPanel::SetMarkerModeEnabled(bool enabled) {
    markerModeCombo->setEnabled(enabled);
}

void ControlPanel::ConnectHandlers() {
    connect(centerEdit, &QLineEdit::returnPressed, this, &ControlPanel::OnCenterFreqEnter);
    connect(refLevelEdit, &QLineEdit::returnPressed, this, &ControlPanel::OnRefLevelEnter);
    connect(offsetEdit, &QLineEdit::returnPressed, this, &ControlPanel::OnOffsetEnter);
    // `activated` comes from the user only; the panel's own selections send nothing.
    connect(spanCombo, &QComboBox::activated, this, &ControlPanel::OnSpanChanged);
    connect(rbwCombo, &QComboBox::activated, this, &ControlPanel::OnRbwChanged);
    connect(vbwCombo, &QComboBox::activated, this, &ControlPanel::OnVbwChanged);
    connect(unitCombo, &QComboBox::activated, this, &ControlPanel::OnUnitChanged);
    connect(scaleCombo, &QComboBox::activated, this, &ControlPanel::OnScaleChanged);
    connect(sweepCombo, &QComboBox::activated, this, &ControlPanel::OnSweepChanged);
    connect(detectorCombo, &QComboBox::activated, this, &ControlPanel::OnDetectorChanged);
    connect(calcCombo, &QComboBox::activated, this, &ControlPanel::OnCalcChanged);
    connect(countCombo, &QComboBox::activated, this, &ControlPanel::OnCountChanged);
    connect(impedanceCombo, &QComboBox::activated, this, &ControlPanel::OnImpedanceChanged);
    connect(markerModeCombo, &QComboBox::activated, this, &ControlPanel::OnMarkerModeChanged);
    connect(rbwAutoBox, &QCheckBox::clicked, this, &ControlPanel::OnRbwAutoClicked);
    connect(vbwAutoBox, &QCheckBox::clicked, this, &ControlPanel::OnVbwAutoClicked);
    connect(sweepAutoBox, &QCheckBox::clicked, this, &ControlPanel::OnSweepAutoClicked);
    connect(refLevelSpin, &QSpinBox::valueChanged, this, &ControlPanel::OnRefLevelSpin);
    connect(offsetSpin, &QSpinBox::valueChanged, this, &ControlPanel::OnOffsetSpin);
    connect(holdButton, &QPushButton::clicked, this, &ControlPanel::OnHoldButton);
    connect(autoTuneButton, &QPushButton::clicked, this, &ControlPanel::OnAutoTuneButton);
}

// --- Filling the controls ---

void ControlPanel::SelectIndex(QComboBox* combo, int index) {
    if (index >= 0 && index < combo->count()) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(index);
    }
}

void ControlPanel::FillFromSettings() {
    const InstrumentSettings& s = gSettings;
    SelectIndex(spanCombo, s.spanIndex);
    ShowCenterFreq();
    SelectIndex(rbwCombo, s.rbwIndex);
    SelectIndex(vbwCombo, s.vbwIndex);
    SyncSweepListToSpan();
    SelectIndex(detectorCombo, s.detectorIndex);
    SelectIndex(calcCombo, s.calcIndex);
    SelectCountForCalc();
    SelectIndex(scaleCombo, s.scaleIndex);
    if (unitCombo->count() == 4)
        SelectIndex(unitCombo, s.unitIndex);
    SelectIndex(markerModeCombo, s.markerMode);
    SelectIndex(impedanceCombo, s.impedanceIndex);
    ShowOffset();
    ShowReference();
    holdButton->setChecked(s.runState == 1);
    SetHoldCaption();
}

void ControlPanel::ShowCenterFreq() {
    const bool full = panelrules::IsFullSpan(gSettings.modelIndex, gSettings.spanIndex);
    centerEdit->setText(QString::fromStdString(formatSI(gSettings.centerFreq, kReadoutFormat)));
    centerEdit->setEnabled(!full);
}

int ControlPanel::UnitOffset(int displayUnit) {
    InstrumentSettings& s = gSettings;
    if (displayUnit == 4) {
        computeAntennaReference(s.antennaIndex);
        return s.fieldRefLevel - s.refLevel;
    }
    if (displayUnit == 5) {
        computeProbeReference(s.probeIndex);
        return s.fieldRefLevel - s.refLevel;
    }
    return levelunits::unitConstant(displayUnit);
}

int ControlPanel::DisplayedReference(int displayUnit) {
    const int unitOffset = UnitOffset(displayUnit);
    return levelunits::roundReference(gSettings.refLevel, gSettings.levelOffset) + unitOffset;
}

void ControlPanel::ShowReference() {
    int unit = unitCombo->currentIndex();
    if (unit < 0)
        unit = gSettings.unitIndex;
    const int shown = DisplayedReference(unit);
    refLevelEdit->setText(QString::number(shown));
    {
        const QSignalBlocker block(refLevelSpin);
        refLevelSpin->setValue(shown);
    }
    attenuatorReadout->setText(QString::fromStdString(attenuatorText(gSettings.refLevel)));
}

void ControlPanel::ShowOffset() {
    offsetEdit->setText(QString::fromStdString(formatSI(gSettings.levelOffset, kLevelDbFormat)));
    const QSignalBlocker block(offsetSpin);
    offsetSpin->setValue(panelrules::OffsetSpinPosition(gSettings.levelOffset));
}

int ControlPanel::SweepListOffset() const {
    return kSweepCount - sweepCombo->count();
}

void ControlPanel::SelectSweepIndex(int sweepIndex) {
    int position = sweepIndex - SweepListOffset();
    if (position < 0)
        position = 0;
    SelectIndex(sweepCombo, position);
}

// The sweep list holds "10ms" unless the span excludes it, and neither "10ms" nor "30ms" while
// the frequency counter is on.
void ControlPanel::SyncSweepListToSpan() {
    int wanted = 0;
    if (counterLists_)
        wanted = 2;
    else if (panelrules::SpanExcludesFastSweep(gSettings.modelIndex, gSettings.spanIndex))
        wanted = 1;
    if (wanted != SweepListOffset()) {
        const QSignalBlocker block(sweepCombo);
        sweepCombo->clear();
        for (int i = wanted; i < kSweepCount; ++i)
            sweepCombo->addItem(QString::fromLatin1(kSweepItems[i]));
    }
    SelectSweepIndex(gSettings.sweepIndex);
}

void ControlPanel::SelectCountForCalc() {
    const int calc = gSettings.calcIndex;
    const int wantedCount = calc == 3 ? kCountAverage : kCountFull;
    {
        const QSignalBlocker block(countCombo);
        while (countCombo->count() > wantedCount)
            countCombo->removeItem(countCombo->count() - 1);
        while (countCombo->count() < wantedCount)
            countCombo->addItem(QString::fromLatin1(kCountItems[countCombo->count()]));
    }
    switch (calc) {
    case 1:
        SelectIndex(countCombo, panelrules::CountListPosition(gSettings.maxCount, false));
        countCombo->setEnabled(true);
        break;
    case 2:
        SelectIndex(countCombo, panelrules::CountListPosition(gSettings.minCount, false));
        countCombo->setEnabled(true);
        break;
    case 3:
        SelectIndex(countCombo, panelrules::CountListPosition(gSettings.aveCount, true));
        countCombo->setEnabled(true);
        break;
    default:
        SelectIndex(countCombo, 10);
        countCombo->setEnabled(false);
        break;
    }
}

void ControlPanel::SetAutoBoxes(bool checked) {
    rbwAutoBox->setChecked(checked);
    vbwAutoBox->setChecked(checked);
    sweepAutoBox->setChecked(checked);
}

void ControlPanel::ShowSpanIndex() {
    SelectIndex(spanCombo, gSettings.spanIndex);
    SyncSweepListToSpan();
    centerEdit->setEnabled(!panelrules::IsFullSpan(gSettings.modelIndex, gSettings.spanIndex));
}

void ControlPanel::Changed(FieldSet changed) {
    const bool outer = !announcing_;
    announcing_ = true;
    NotifyChanged(changed);
    if (outer)
        announcing_ = false;
}

void ControlPanel::ShowChanged(FieldSet changed) {
    const InstrumentSettings& s = gSettings;
    if (announcing_)
        return;
    if (changed.Any(Field::FromAnalyzer)) {
        FillFromSettings();
        return;
    }
    if (changed.Any(Field::CenterFreq))
        ShowCenterFreq();
    if (changed.Any(Field::Span))
        ShowSpanIndex();
    if (changed.Any(Field::Sweep))
        SelectSweepIndex(s.sweepIndex);
    if (changed.Any(Field::Measure))
        SetFrequencyCounterLists(modes::Measure(s) == MeasureFunction::FrequencyCounter);
    if (changed.Any(Field::AutoOff))
        SetAutoBoxes(false);
    if (changed.Any(Field::RunState) && s.runState == 0 && holdButton->isChecked()) {
        holdButton->setChecked(false);
        SetHoldCaption();
        emit runStateChanged(false);
    }
}

void ControlPanel::SetHeld() {
    const bool wasRunning = gSettings.runState == 1;
    gSettings.runState = 0;
    holdButton->setChecked(false);
    SetHoldCaption();
    if (wasRunning)
        emit runStateChanged(false);
}

void ControlPanel::RebuildSpanListForModel() {
    InstrumentSettings& s = gSettings;
    if (s.spanIndex > 13) {
        s.spanIndex = 13;
        if (link_)
            link_->SendCommand(cmd::kSpan);
    }
    {
        const QSignalBlocker block(spanCombo);
        spanCombo->clear();
        if (s.modelIndex == 1) {
            for (const char* item : kSpanItems420)
                spanCombo->addItem(QString::fromLatin1(item));
        } else {
            for (const char* item : kSpanItems410)
                spanCombo->addItem(QString::fromLatin1(item));
        }
        if (counterLists_)
            spanCombo->removeItem(spanCombo->count() - 1);
    }
    ShowSpanIndex();
}

void ControlPanel::SetFrequencyCounterLists(bool counterOn) {
    if (counterOn == counterLists_)
        return;
    counterLists_ = counterOn;
    {
        const QSignalBlocker block(spanCombo);
        if (counterOn) {
            spanCombo->removeItem(spanCombo->count() - 1);
        } else {
            const int full = panelrules::FullSpanIndex(gSettings.modelIndex);
            spanCombo->addItem(QString::fromLatin1(
                gSettings.modelIndex == 1 ? kSpanItems420[full] : kSpanItems410[full]));
        }
    }
    SelectIndex(spanCombo, gSettings.spanIndex);
    SyncSweepListToSpan();
}

void ControlPanel::ApplyUnitLabelUpdate(const UnitLabelUpdate& update) {
    const bool field = update.displayUnit == 4 || update.displayUnit == 5;
    {
        const QSignalBlocker block(unitCombo);
        while (unitCombo->count() > 4)
            unitCombo->removeItem(unitCombo->count() - 1);
        if (field) {
            unitCombo->addItem(QString::fromLatin1(kUnitItems[4]));
            unitCombo->addItem(QString::fromLatin1(kUnitItems[5]));
            unitCombo->setCurrentIndex(update.displayUnit);
        } else if (gSettings.unitIndex >= 0 && gSettings.unitIndex < 4) {
            unitCombo->setCurrentIndex(gSettings.unitIndex);
        }
    }
    unitCombo->setEnabled(!field);
    referenceLabel->setText(QString::fromLatin1(update.texts.referenceLabel));
    refLevelEdit->setText(QString::fromLatin1(update.referenceText));
    const QSignalBlocker block(refLevelSpin);
    refLevelSpin->setValue(update.referenceValue);
}

void ControlPanel::SetHoldCaption() {
    holdButton->setText(gSettings.runState == 1 ? QStringLiteral("Run") : QStringLiteral("Hold"));
}

bool ControlPanel::RemoteChecked() const {
    return gSettings.remoteState == 1;
}
