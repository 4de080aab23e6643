#include "measurement_controller.h"

#include "axis_mapping.h"
#include "compact_summary.h"
#include "compact_summary_view.h"
#include "cw_graph.h"
#include "display_model.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "measurement_strip.h"
#include "measuring_function_dialog.h"
#include "modes.h"
#include "peak_search.h"
#include "view_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include <cctype>
#include <cmath>
#include <cstdio>

using namespace display;

namespace {

QString FrequencyText(double f) {
    return QString::fromStdString(FormatSi(f, 4, kAutoPrefix));
}

QString RatioText(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", v);
    return QString::fromLatin1(text);
}

bool StartsWithCentre(const char* text) {
    return text != nullptr && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           text[1] == ':';
}

void SetTextColor(QLineEdit* edit, const QColor* color) {
    QPalette palette = edit->style()->standardPalette();
    if (color)
        palette.setColor(QPalette::Text, *color);
    edit->setPalette(palette);
}

} // namespace

MeasurementController::MeasurementController(CCWGraph* graph, QWidget* view, DisplayHost* host)
    : graph_(graph), view_(view), host_(host), strip_(new MeasurementStrip(view)) {
    const std::pair<QLineEdit*, MeasureEdit> edits[] = {
        {strip_->bandCenter, MeasureEdit::BandCenter}, {strip_->bandWidth, MeasureEdit::BandWidth},
        {strip_->refCenter, MeasureEdit::RefCenter},   {strip_->refWidth, MeasureEdit::RefWidth},
        {strip_->obwRatio, MeasureEdit::ObwRatio},     {strip_->obwDb, MeasureEdit::ObwDb}};
    for (const auto& [edit, which] : edits) {
        const MeasureEdit id = which;
        connect(edit, &QLineEdit::returnPressed, this, [this, id] { CommitMeasureEdit(id); });
    }
}

MeasurementController::~MeasurementController() = default;

void MeasurementController::ShowMeasuringFunction() {
    if (RefuseWhenCompact(view_))
        return;
    if (gSettings.runState != 0) {
        gSettings.runState = 0; // the dialog needs the analyzer to itself
        NotifyChanged(Field::RunState);
    }
    MeasuringFunctionDialog dialog(CurrentMeasureChoice(),
                                   MeasureDialogRulesFor(gSettings.spanIndex, gSettings.modelIndex),
                                   view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ApplyMeasureChoice(dialog.Choice());
}

void MeasurementController::ApplyMeasureChoice(const MeasureChoice& choice) {
    InstrumentSettings& s = gSettings;
    if (choice == CurrentMeasureChoice())
        return;
    host_.Pause();
    FieldSet changed = Field::Measure;
    if (choice.function != modes::Measure()) {
        host_.Send(DisplayCommand::MeasureOff);
    }
    s.measureIndex = static_cast<int>(choice.function);
    s.cpMode = choice.cpMode;
    s.acpMode = choice.acpMode;
    s.obwMode = choice.obwMode;
    s.antennaIndex = choice.antennaIndex;
    s.probeIndex = choice.probeIndex;
    UpdateMeasurementDisplay();

    switch (modes::Measure()) {
    case MeasureFunction::Off:
        AskMeasureResult();
        break;
    case MeasureFunction::ChannelPower:
        host_.Send(DisplayCommand::Measure);
        host_.Send(DisplayCommand::CpMode);
        host_.Send(DisplayCommand::CpCenterQuery);
        host_.Send(DisplayCommand::CpWidthQuery);
        RefreshMeasureEdits();
        AskMeasureResult();
        break;
    case MeasureFunction::AdjacentChannel:
        host_.Send(DisplayCommand::Measure);
        host_.Send(DisplayCommand::AcpMode);
        host_.Send(DisplayCommand::AcpOffsetQuery);
        host_.Send(DisplayCommand::AcpChannelBwQuery);
        host_.Send(DisplayCommand::AcpRefCenterQuery);
        host_.Send(DisplayCommand::AcpRefBwQuery);
        RefreshMeasureEdits();
        AskMeasureResult();
        break;
    case MeasureFunction::OccupiedBandwidth:
        host_.Send(DisplayCommand::Measure);
        host_.Send(DisplayCommand::ObwMode);
        host_.Send(DisplayCommand::ObwRatioQuery);
        host_.Send(DisplayCommand::ObwDbQuery);
        RefreshMeasureEdits();
        AskMeasureResult();
        break;
    case MeasureFunction::ElectricField: {
        host_.Send(DisplayCommand::EfAntenna);
        const AntennaBand band = AntennaBandOf(s.antennaIndex);
        if (band.checked && (s.centerFreq < band.lower || s.centerFreq > band.upper)) {
            s.centerFreq = band.newCenter;
            s.spanIndex = band.spanIndex;
            NotifyChanged(Field::CenterFreq | Field::Span);
            emit AxisEndsOverridden(QString::fromLatin1(band.leftLabel),
                                    QString::fromLatin1(band.rightLabel));
        }
        ComputeAntennaReference(s.antennaIndex);
        emit FieldStrengthReferenceChanged();
        break;
    }
    case MeasureFunction::MagneticField:
        host_.Send(DisplayCommand::MfProbe);
        ComputeProbeReference(s.probeIndex);
        emit FieldStrengthReferenceChanged();
        break;
    case MeasureFunction::FrequencyCounter:
        if (s.sweepIndex < 2) {
            s.sweepIndex = 2;
            changed = changed | Field::Sweep;
        }
        host_.Send(DisplayCommand::Measure);
        AskMeasureResult();
        break;
    default:
        break;
    }
    NotifyChanged(changed);
    host_.Resume();
}

void MeasurementController::UpdateMeasurementDisplay() {
    const InstrumentSettings& s = gSettings;
    MeasurementStrip* m = strip_;
    for (QLineEdit* edit :
         {m->bandCenter, m->bandWidth, m->refCenter, m->refWidth, m->obwRatio, m->obwDb, m->result})
        edit->setEnabled(false);
    for (int c = cursor::kRefCenter; c <= CCWGraph::kCursorCount; ++c)
        graph_->SetCursorVisible(c, false);

    bool blockEnabled = false;
    switch (modes::Measure()) {
    case MeasureFunction::Off:
        blockEnabled = true;
        m->functionName->setText(QStringLiteral("Meas OFF"));
        break;
    case MeasureFunction::ChannelPower:
        m->functionName->setText(QStringLiteral("Channel Power"));
        m->bandCenterLabel->setText(QStringLiteral("Band Center"));
        m->bandWidthLabel->setText(QStringLiteral("Band Width"));
        m->result->setEnabled(true);
        m->bandCenter->setEnabled(s.cpMode == 1);
        m->bandWidth->setEnabled(s.cpMode == 1);
        for (int c = cursor::kRefCenter; c <= cursor::kRefLower; ++c)
            graph_->SetCursorVisible(c, s.cpMode == 1);
        break;
    case MeasureFunction::AdjacentChannel:
        m->functionName->setText(QStringLiteral("Adj Ch Power"));
        m->bandCenterLabel->setText(QStringLiteral("Adj Ch Offset"));
        m->bandWidthLabel->setText(QStringLiteral("Adj Ch Width"));
        m->bandCenter->setEnabled(true);
        m->bandWidth->setEnabled(true);
        m->refCenter->setEnabled(s.acpMode != 2);
        m->refWidth->setEnabled(s.acpMode == 1);
        m->result->setEnabled(true);
        for (int c = cursor::kOffset1; c <= CCWGraph::kCursorCount; ++c)
            graph_->SetCursorVisible(c, true);
        graph_->SetCursorVisible(cursor::kRefCenter, s.acpMode == 0);
        graph_->SetCursorVisible(cursor::kRefUpper, s.acpMode == 1);
        graph_->SetCursorVisible(cursor::kRefLower, s.acpMode == 1);
        break;
    case MeasureFunction::OccupiedBandwidth:
        m->functionName->setText(QStringLiteral("Occ BW"));
        m->result->setEnabled(true);
        m->obwRatio->setEnabled(s.obwMode == 0);
        m->obwDb->setEnabled(s.obwMode == 1);
        graph_->SetCursorVisible(cursor::kRefUpper, true);
        graph_->SetCursorVisible(cursor::kRefLower, true);
        break;
    case MeasureFunction::ElectricField:
        m->functionName->setText(QStringLiteral("E / F"));
        break;
    case MeasureFunction::MagneticField:
        m->functionName->setText(QStringLiteral("M / F"));
        break;
    default: // the frequency counter keeps the previous name
        break;
    }
    ApplyEditTextColors();
    emit MarkerBlockEnabledChanged(blockEnabled);
}

void MeasurementController::UpdateChannelPowerCursors() {
    InstrumentSettings& s = gSettings;
    const BandCursors b =
        ChannelPowerCursors(CurrentAxisFrame(), s.cpCenter, s.cpWidth, s.measureBandPositions);
    std::copy(b.storedPositions, b.storedPositions + 6, s.measureBandPositions);
    for (int i = 0; i < 3; ++i)
        graph_->SetCursorX(cursor::kRefCenter + i, b.x[i]);
}

void MeasurementController::UpdateAcpCursors() {
    InstrumentSettings& s = gSettings;
    const BandCursors b = AcpCursors(CurrentAxisFrame(), s.acpRefCenter, s.acpRefBw, s.acpOffset,
                                     s.acpChannelBw, s.measureBandPositions);
    std::copy(b.storedPositions, b.storedPositions + 6, s.measureBandPositions);
    for (int i = 0; i < 7; ++i)
        graph_->SetCursorX(cursor::kRefCenter + i, b.x[i]);
    if (s.acpMode == 2) {
        // The reference channel follows the highest peak; the edit keeps the stored centre.
        s.peakSearchNo = 0;
        graph_->SetCursorX(cursor::kRefCenter, PeakSearch(0));
        strip_->refCenter->setText(FrequencyText(s.acpRefCenter));
    }
}

void MeasurementController::PositionObwCursors(const char* text) {
    double centre = 0;
    double width = 0;
    if (!ParseObwResult(text, &centre, &width))
        return;
    strip_->result->setText(QString::fromLatin1(text));
    graph_->SetCursorEnabled(cursor::kRefUpper, false);
    graph_->SetCursorEnabled(cursor::kRefLower, false);
    graph_->SetCursorVisible(cursor::kRefUpper, true);
    graph_->SetCursorVisible(cursor::kRefLower, true);
    const AxisFrame frame = CurrentAxisFrame();
    const double c = FrequencyToPosition(frame, centre);
    const double h = WidthToPositions(frame, width) / 2;
    graph_->SetCursorX(cursor::kRefCenter, c);
    graph_->SetCursorX(cursor::kRefUpper, ClampPosition(frame, c + h));
    graph_->SetCursorX(cursor::kRefLower, ClampPosition(frame, c - h));
}

void MeasurementController::UpdateObwDisplay() {
    if (!StartsWithCentre(host_.LastReply()))
        host_.Send(DisplayCommand::MeasureResult);
    PositionObwCursors(host_.LastReply());
}

void MeasurementController::PlaceMeasurementCursors(ObwCursors obw) {
    switch (modes::Measure()) {
    case MeasureFunction::ChannelPower:
        UpdateChannelPowerCursors();
        break;
    case MeasureFunction::AdjacentChannel:
        UpdateAcpCursors();
        break;
    case MeasureFunction::OccupiedBandwidth:
        if (obw == ObwCursors::FromShownResult) // nothing is asked of the analyzer
            PositionObwCursors(strip_->result->text().toLatin1().constData());
        else if (obw == ObwCursors::FromReply)
            UpdateObwDisplay();
        break;
    default:
        break;
    }
}

void MeasurementController::AskMeasureResult() {
    host_.Send(DisplayCommand::MeasureResult);
    strip_->result->setText(QString::fromLatin1(host_.LastReply()));
}

void MeasurementController::ShowMeasureResult() {
    strip_->result->setText(QString::fromLatin1(host_.LastReply()));
    PlaceMeasurementCursors(ObwCursors::FromReply);
}

void MeasurementController::SyncMeasurementFrequencies() {
    InstrumentSettings& s = gSettings;
    const AxisFrame frame = CurrentAxisFrame();
    if (frame.zeroSpan)
        return;
    // Only the bands of the function on show have positions taken from the screen.
    const BandFrequencies f = FrequenciesFromPositions(frame, s.measureBandPositions);
    if (modes::Measure() == MeasureFunction::ChannelPower) {
        s.cpCenter = f.cpCenter;
        s.cpWidth = f.cpWidth;
    } else if (modes::Measure() == MeasureFunction::AdjacentChannel) {
        s.acpRefCenter = f.acpRefCenter;
        s.acpRefBw = f.acpRefBw;
        s.acpOffset = f.acpOffset;
        s.acpChannelBw = f.acpChannelBw;
    }
    RefreshMeasureEdits();
}

void MeasurementController::RefreshMeasureEdits() {
    const InstrumentSettings& s = gSettings;
    const bool acp = modes::Measure() == MeasureFunction::AdjacentChannel;
    strip_->bandCenter->setText(FrequencyText(acp ? s.acpOffset : s.cpCenter));
    strip_->bandWidth->setText(FrequencyText(acp ? s.acpChannelBw : s.cpWidth));
    strip_->refCenter->setText(FrequencyText(s.acpRefCenter));
    strip_->refWidth->setText(FrequencyText(s.acpRefBw));
    strip_->obwRatio->setText(RatioText(s.obwRatio));
    strip_->obwDb->setText(RatioText(s.obwDb));
}

void MeasurementController::CommitMeasureEdit(MeasureEdit edit) {
    InstrumentSettings& s = gSettings;
    double* field = nullptr;
    DisplayCommand set{};
    DisplayCommand query{};
    QLineEdit* control = nullptr;
    const MeasureFunction f = modes::Measure(s);
    switch (edit) {
    case MeasureEdit::BandCenter:
        control = strip_->bandCenter;
        if (f == MeasureFunction::ChannelPower)
            field = &s.cpCenter, set = DisplayCommand::CpCenter,
            query = DisplayCommand::CpCenterQuery;
        else if (f == MeasureFunction::AdjacentChannel)
            field = &s.acpOffset, set = DisplayCommand::AcpOffset,
            query = DisplayCommand::AcpOffsetQuery;
        break;
    case MeasureEdit::BandWidth:
        control = strip_->bandWidth;
        if (f == MeasureFunction::ChannelPower)
            field = &s.cpWidth, set = DisplayCommand::CpWidth, query = DisplayCommand::CpWidthQuery;
        else if (f == MeasureFunction::AdjacentChannel)
            field = &s.acpChannelBw, set = DisplayCommand::AcpChannelBw,
            query = DisplayCommand::AcpChannelBwQuery;
        break;
    case MeasureEdit::RefCenter:
        control = strip_->refCenter;
        if (f == MeasureFunction::AdjacentChannel)
            field = &s.acpRefCenter, set = DisplayCommand::AcpRefCenter,
            query = DisplayCommand::AcpRefCenterQuery;
        break;
    case MeasureEdit::RefWidth:
        control = strip_->refWidth;
        if (f == MeasureFunction::AdjacentChannel)
            field = &s.acpRefBw, set = DisplayCommand::AcpRefBw,
            query = DisplayCommand::AcpRefBwQuery;
        break;
    case MeasureEdit::ObwRatio:
        control = strip_->obwRatio;
        if (f == MeasureFunction::OccupiedBandwidth)
            field = &s.obwRatio, set = DisplayCommand::ObwRatio,
            query = DisplayCommand::ObwRatioQuery;
        break;
    case MeasureEdit::ObwDb:
        control = strip_->obwDb;
        if (f == MeasureFunction::OccupiedBandwidth)
            field = &s.obwDb, set = DisplayCommand::ObwDb, query = DisplayCommand::ObwDbQuery;
        break;
    }
    if (field == nullptr)
        return;
    const bool ratio = edit == MeasureEdit::ObwRatio || edit == MeasureEdit::ObwDb;
    if (control->text().trimmed().isEmpty())
        control->setText(ratio ? RatioText(*field)
                               : QString::fromStdString(FormatSi(*field, 4, kGigaPrefix)));
    host_.Pause();
    double value = 0;
    ParseSi(control->text().toLatin1().constData(), &value);
    *field = ClampToLimit(edit, value);
    host_.Send(set);
    host_.Send(query);
    control->setText(ratio ? RatioText(*field) : FrequencyText(*field));
    AskMeasureResult();
    PlaceMeasurementCursors(ObwCursors::FromReply);
    host_.Resume();
}

void MeasurementController::ApplyEditTextColors() {
    const InstrumentSettings& s = gSettings;
    const QColor black(Qt::black);
    const QColor refCenter = ColorFromRgb(s.markerColor[3]);
    const QColor refBandwidth = ColorFromRgb(s.markerColor[4]);
    const QColor refOffset = ColorFromRgb(s.markerColor[5]);
    const MeasureFunction f = modes::Measure();
    SetTextColor(strip_->bandCenter, f == MeasureFunction::ChannelPower ? &refCenter : &black);
    SetTextColor(strip_->bandWidth,
                 f == MeasureFunction::AdjacentChannel ? &refOffset : &refBandwidth);
    if (f == MeasureFunction::AdjacentChannel)
        SetTextColor(strip_->refCenter, s.acpMode == 0 ? &refCenter : &black);
    else
        SetTextColor(strip_->refCenter, nullptr);
    SetTextColor(strip_->refWidth, &refBandwidth);
}

void MeasurementController::ShowUnitLabel(const QString& text) {
    strip_->unitLabel->setText(text);
}

void MeasurementController::FillCompactInputs(CompactInputs* in) const {
    auto text = [](const QLineEdit* e) { return e->text().toStdString(); };
    in->bandCenter = text(strip_->bandCenter);
    in->bandWidth = text(strip_->bandWidth);
    in->refCenter = text(strip_->refCenter);
    in->refWidth = text(strip_->refWidth);
    in->obwRatio = text(strip_->obwRatio);
    in->obwDb = text(strip_->obwDb);
    in->result = text(strip_->result);
}

void MeasurementController::Place(const Rect& r) {
    strip_->setGeometry(r.x, r.y, std::max(r.width, MeasurementStrip::kMinWidth), r.height);
}

void MeasurementController::SetShown(bool shown) {
    strip_->setVisible(shown);
}
