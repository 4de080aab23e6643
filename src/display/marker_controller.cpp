#include "marker_controller.h"

#include "axis_mapping.h"
#include "compact_summary.h"
#include "compact_summary_view.h"
#include "cw_graph.h"
#include "display_model.h"
#include "field_changes.h"
#include "instrument_settings.h"
#include "marker_panel.h"
#include "marker_readouts.h"
#include "measurement_bands.h"
#include "modes.h"
#include "peak_search.h"
#include "value_limits.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

using namespace display;

namespace {

constexpr int kLastPeakOrdinal = 10; // Next stops at the 11th highest peak

// A typed value outside the frequency range ("1e400", "999G") keeps the current
// value: it would otherwise go out as a 300-digit command and become the centre on Marker to CF.
double FrequencyOr(const QLineEdit* edit, double current) {
    double value = 0;
    ParseSi(edit->text().toLatin1().constData(), &value);
    return valuelimits::isFrequency(value) ? value : current;
}

// An empty edit stands for the current value (4 decimals in giga).
double ReadFrequencyEdit(QLineEdit* edit, double current) {
    if (edit->text().trimmed().isEmpty())
        edit->setText(QString::fromStdString(FormatSi(current, 4, kGigaPrefix)));
    return FrequencyOr(edit, current);
}

} // namespace

MarkerController::MarkerController(CCWGraph* graph, QWidget* view, DisplayHost* host)
    : graph_(graph), view_(view), host_(host), panel_(new MarkerPanel(view)) {
    markerDisplay_ = new QActionGroup(this);
    for (const char* name : {"Marker 1 and 2", "Marker 1 Only", "Marker 2 Only", "Marker None"}) {
        QAction* action = markerDisplay_->addAction(QString::fromLatin1(name));
        action->setCheckable(true);
    }
    markerDisplay_->actions().front()->setChecked(true);
    Connect();
}

MarkerController::~MarkerController() = default;

void MarkerController::Connect() {
    connect(graph_, &CCWGraph::CursorMoved, this, [this](int cursor, double) {
        if (cursor == cursor::kMarker1 || cursor == cursor::kMarker2)
            UpdateMarkerReadouts();
    });
    connect(graph_, &CCWGraph::CursorReleased, this, [this](int cursor, double) {
        if (cursor == cursor::kMarker1 || cursor == cursor::kMarker2)
            UpdateMarkerReadouts();
    });
    connect(panel_->peak, &QPushButton::clicked, this, &MarkerController::Peak);
    connect(panel_->next, &QPushButton::clicked, this, &MarkerController::Next);
    connect(panel_->normalPeak, &QRadioButton::clicked, this,
            &MarkerController::SelectNormalPeakMode);
    connect(panel_->zonePeak, &QRadioButton::clicked, this, &MarkerController::SelectZonePeakMode);
    connect(panel_->marker1Select, &QRadioButton::clicked, this, [this] { SelectMarker(1); });
    connect(panel_->marker2Select, &QRadioButton::clicked, this, [this] { SelectMarker(2); });
    connect(panel_->marker1Freq, &QLineEdit::returnPressed, this, &MarkerController::CommitMarker1);
    connect(panel_->marker2Freq, &QLineEdit::returnPressed, this, &MarkerController::CommitMarker2);
    connect(panel_->zoneCenter, &QLineEdit::returnPressed, this,
            &MarkerController::CommitZoneCenter);
    connect(panel_->zoneWidth, &QLineEdit::returnPressed, this, &MarkerController::CommitZoneWidth);
    connect(markerDisplay_, &QActionGroup::triggered, this, [this](QAction* action) {
        SetMarkerDisplay(static_cast<int>(markerDisplay_->actions().indexOf(action)));
    });
}

QAction* MarkerController::MarkerDisplayAction(int entry) const {
    const QList<QAction*> actions = markerDisplay_->actions();
    return (entry >= 0 && entry < actions.size()) ? actions[entry] : nullptr;
}

void MarkerController::UpdateMarkerReadouts() {
    MarkerReadoutInput in;
    in.x1 = graph_->CursorX(cursor::kMarker1);
    in.x2 = graph_->CursorX(cursor::kMarker2);
    in.level1 = graph_->CursorY(cursor::kMarker1);
    in.level2 = graph_->CursorY(cursor::kMarker2);
    in.markerMode = modes::Marker();
    in.conversionIndex = gSettings.conversionIndex;
    in.displayUnit = DisplayUnit();
    const MarkerReadoutTexts t = MarkerReadouts(CurrentAxisFrame(), in);
    panel_->marker1Freq->setText(QString::fromStdString(t.freq1));
    panel_->marker2Freq->setText(QString::fromStdString(t.freq2));
    if (t.levelsWritten) {
        panel_->marker1Level->setText(QString::fromStdString(t.level1));
        panel_->marker2Level->setText(QString::fromStdString(t.level2));
    }
}

void MarkerController::UpdateZone() {
    InstrumentSettings& s = gSettings;
    const AxisFrame frame = CurrentAxisFrame();
    const double c = FrequencyToPosition(frame, s.peakZoneCenter);
    s.zonePosition = TruncToInt(c);
    const double h = WidthToPositions(frame, s.peakZoneWidth) / 2;
    s.zoneWidth = TruncToInt(h);
    graph_->SetCursorX(cursor::kZoneRight, ClampPosition(frame, c + h));
    graph_->SetCursorX(cursor::kZoneLeft, ClampPosition(frame, c - h));
    s.peakSearchNo = 0;
    graph_->SetCursorX(cursor::kMarker1, PeakSearch(0));
    UpdateMarkerReadouts();
}

int MarkerController::MovedMarker() const {
    return (modes::Marker() == MarkerMode::Normal && gSettings.selectedMarker == 2)
               ? cursor::kMarker2
               : cursor::kMarker1;
}

void MarkerController::RunPeakSearch() {
    graph_->SetCursorX(MovedMarker(), PeakSearch(gSettings.peakSearchNo));
    UpdateMarkerReadouts();
    host_.Pause();
    host_.Send(DisplayCommand::PeakSearch);
    host_.Resume();
}

void MarkerController::Peak() {
    gSettings.peakSearchNo = 0;
    panel_->next->setEnabled(true);
    RunPeakSearch();
}

void MarkerController::Next() {
    InstrumentSettings& s = gSettings;
    if (s.peakSearchNo >= kLastPeakOrdinal)
        return;
    s.peakSearchNo += 1;
    if (s.peakSearchNo >= kLastPeakOrdinal)
        panel_->next->setEnabled(false);
    RunPeakSearch();
}

void MarkerController::SelectNormalPeakMode() {
    SelectPeakMode(PeakMode::Normal);
}

void MarkerController::SelectZonePeakMode() {
    SelectPeakMode(PeakMode::Zone);
}

void MarkerController::SelectPeakMode(PeakMode mode) {
    const bool zone = mode == PeakMode::Zone;
    host_.Pause();
    gSettings.peakMode = static_cast<int>(mode);
    panel_->ShowPeakMode(mode);
    graph_->SetCursorVisible(cursor::kZoneRight, zone);
    graph_->SetCursorVisible(cursor::kZoneLeft, zone);
    host_.Send(DisplayCommand::PeakMode);
    if (zone)
        UpdateZone();
    host_.Resume();
}

void MarkerController::SelectMarker(int marker) {
    gSettings.selectedMarker = marker == 2 ? 2 : 1;
    panel_->marker1Select->setChecked(marker != 2);
    panel_->marker2Select->setChecked(marker == 2);
}

void MarkerController::CommitMarker1() {
    InstrumentSettings& s = gSettings;
    const double f = ReadFrequencyEdit(panel_->marker1Freq, s.normMarkerFreq);
    host_.Pause();
    s.normMarkerFreq = f;
    host_.Send(DisplayCommand::NormMarker);
    host_.Send(DisplayCommand::NormMarkerQuery);
    graph_->SetCursorX(cursor::kMarker1, FrequencyToPosition(CurrentAxisFrame(), s.normMarkerFreq));
    UpdateMarkerReadouts();
    host_.Resume();
}

void MarkerController::CommitMarker2() {
    const AxisFrame frame = CurrentAxisFrame();
    const double current = frame.zeroSpan
                               ? PositionToTime(frame, graph_->CursorX(cursor::kMarker2))
                               : PositionToFrequency(frame, graph_->CursorX(cursor::kMarker2));
    const double f = ReadFrequencyEdit(panel_->marker2Freq, current);
    graph_->SetCursorX(cursor::kMarker2, FrequencyToPosition(frame, f));
    UpdateMarkerReadouts();
}

void MarkerController::CommitZoneValue(double* field, DisplayCommand set, DisplayCommand query,
                                       QLineEdit* edit) {
    const double value = ReadFrequencyEdit(edit, *field);
    if (value == *field) {
        edit->setText(QString::fromStdString(FormatSi(*field, 4, kAutoPrefix)));
        return;
    }
    host_.Pause();
    *field = value;
    host_.Send(set);
    host_.Send(query);
    edit->setText(QString::fromStdString(FormatSi(*field, 4, kAutoPrefix)));
    UpdateZone();
    host_.Resume();
}

void MarkerController::CommitZoneCenter() {
    CommitZoneValue(&gSettings.peakZoneCenter, DisplayCommand::PeakZoneCenter,
                    DisplayCommand::PeakZoneCenterQuery, panel_->zoneCenter);
}

void MarkerController::CommitZoneWidth() {
    CommitZoneValue(&gSettings.peakZoneWidth, DisplayCommand::PeakZoneWidth,
                    DisplayCommand::PeakZoneWidthQuery, panel_->zoneWidth);
}

void MarkerController::MarkerToCenter() {
    if (RefuseWhenCompact(view_))
        return;
    InstrumentSettings& s = gSettings;
    host_.Pause();
    s.normMarkerFreq = FrequencyOr(panel_->marker1Freq, s.normMarkerFreq);
    host_.Send(DisplayCommand::NormMarker);
    host_.Send(DisplayCommand::MarkerToCenter);
    s.centerFreq = s.normMarkerFreq;
    // The moved marker goes to the new centre: position 500 of the whole span.
    graph_->SetCursorX(MovedMarker(), FrequencyToPosition(CurrentAxisFrame(), s.centerFreq));
    NotifyChanged(Field::CenterFreq);
    host_.Resume();
}

void MarkerController::ApplyCursorVisibility(bool marker2Allowed) {
    const int entry = markerDisplayEntry_;
    graph_->SetCursorVisible(cursor::kMarker1, entry == 0 || entry == 1);
    graph_->SetCursorVisible(cursor::kMarker2, marker2Allowed && (entry == 0 || entry == 2));
}

void MarkerController::SetMarkerDisplay(int entry) {
    if (entry < 0 || entry > 3)
        return;
    markerDisplayEntry_ = entry;
    if (QAction* action = MarkerDisplayAction(entry))
        action->setChecked(true);
    ApplyCursorVisibility(modes::Measure() == MeasureFunction::Off);
}

void MarkerController::PlaceMarker1(double position) {
    graph_->SetCursorX(cursor::kMarker1, position);
    UpdateMarkerReadouts();
}

void MarkerController::SetBlockEnabled(bool enabled) {
    panel_->SetBlockEnabled(enabled, modes::Peak());
    if (!enabled) {
        graph_->SetCursorVisible(cursor::kMarker2, false);
        graph_->SetCursorVisible(cursor::kZoneRight, false);
        graph_->SetCursorVisible(cursor::kZoneLeft, false);
        return;
    }
    const bool zone = modes::Peak() == PeakMode::Zone;
    ApplyCursorVisibility(true);
    graph_->SetCursorVisible(cursor::kZoneRight, zone);
    graph_->SetCursorVisible(cursor::kZoneLeft, zone);
}

void MarkerController::ShowLevelCaption(const QString& text) {
    panel_->marker1LevelLabel->setText(text);
    panel_->marker2LevelLabel->setText(text);
}

void MarkerController::SyncControls() {
    panel_->normalPeak->setChecked(modes::Peak() == PeakMode::Normal);
    panel_->zonePeak->setChecked(modes::Peak() == PeakMode::Zone);
    panel_->marker1Select->setChecked(gSettings.selectedMarker != 2);
    panel_->marker2Select->setChecked(gSettings.selectedMarker == 2);
}

void MarkerController::ShowStartupState(bool clearZone) {
    panel_->marker1Level->setText(QStringLiteral("0"));
    panel_->marker2Level->setText(QStringLiteral("0"));
    if (clearZone) {
        panel_->zoneCenter->setText(QStringLiteral("0"));
        panel_->zoneWidth->setText(QStringLiteral("0"));
    }
    panel_->marker1Select->setChecked(true);
}

void MarkerController::FillCompactInputs(CompactInputs* in) const {
    in->marker1Freq = panel_->marker1Freq->text().toStdString();
    in->marker1Level = panel_->marker1Level->text().toStdString();
    in->marker2Freq = panel_->marker2Freq->text().toStdString();
    in->marker2Level = panel_->marker2Level->text().toStdString();
}

void MarkerController::MoveTo(int x) {
    panel_->move(x, MarkerPanel::kTop);
}

void MarkerController::SetShown(bool shown) {
    panel_->setVisible(shown);
}
