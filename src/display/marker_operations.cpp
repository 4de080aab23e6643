// The marker, peak-search and zone operations of the trace display.

#include "trace_display.h"

#include "axis_mapping.h"
#include "cw_graph.h"
#include "display_model.h"
#include "instrument_settings.h"
#include "marker_panel.h"
#include "marker_readouts.h"
#include "modes.h"
#include "peak_search.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

using namespace display;

namespace {

constexpr int kLastPeakOrdinal = 10; // Next stops at the 11th highest peak

// An empty edit stands for the current value (4 decimals in giga).
double ReadFrequencyEdit(QLineEdit* edit, double current) {
    if (edit->text().trimmed().isEmpty())
        edit->setText(QString::fromStdString(FormatSi(current, 4, kGigaPrefix)));
    double value = 0;
    ParseSi(edit->text().toLatin1().constData(), &value);
    return std::isfinite(value) ? value : current;
}

} // namespace

void TraceDisplay::UpdateMarkerReadouts() {
    MarkerReadoutInput in;
    in.x1 = graph_->CursorX(cursor::kMarker1);
    in.x2 = graph_->CursorX(cursor::kMarker2);
    in.level1 = graph_->CursorY(cursor::kMarker1);
    in.level2 = graph_->CursorY(cursor::kMarker2);
    in.markerMode = gSettings.markerMode;
    in.conversionIndex = gSettings.conversionIndex;
    in.displayUnit = DisplayUnit();
    const MarkerReadoutTexts t = MarkerReadouts(CurrentAxisFrame(), in);
    markers_->marker1Freq->setText(QString::fromStdString(t.freq1));
    markers_->marker2Freq->setText(QString::fromStdString(t.freq2));
    if (t.levelsWritten) {
        markers_->marker1Level->setText(QString::fromStdString(t.level1));
        markers_->marker2Level->setText(QString::fromStdString(t.level2));
    }
}

void TraceDisplay::UpdateZone() {
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

int TraceDisplay::MovedMarker() const {
    return (modes::Marker() == MarkerMode::Normal && gSettings.selectedMarker == 2)
               ? cursor::kMarker2
               : cursor::kMarker1;
}

void TraceDisplay::RunPeakSearch() {
    graph_->SetCursorX(MovedMarker(), PeakSearch(gSettings.peakSearchNo));
    UpdateMarkerReadouts();
    Pause();
    Send(DisplayCommand::PeakSearch);
    Resume();
}

void TraceDisplay::Peak() {
    gSettings.peakSearchNo = 0;
    markers_->next->setEnabled(true);
    RunPeakSearch();
}

void TraceDisplay::Next() {
    InstrumentSettings& s = gSettings;
    if (s.peakSearchNo >= kLastPeakOrdinal)
        return;
    s.peakSearchNo += 1;
    if (s.peakSearchNo >= kLastPeakOrdinal)
        markers_->next->setEnabled(false);
    RunPeakSearch();
}

void TraceDisplay::SelectNormalPeakMode() {
    Pause();
    gSettings.peakMode = 0;
    markers_->normalPeak->setChecked(true);
    graph_->SetCursorVisible(cursor::kZoneRight, false);
    graph_->SetCursorVisible(cursor::kZoneLeft, false);
    markers_->peak->setEnabled(true);
    markers_->next->setEnabled(true);
    markers_->zoneCenter->setEnabled(false);
    markers_->zoneWidth->setEnabled(false);
    Send(DisplayCommand::PeakMode);
    Resume();
}

void TraceDisplay::SelectZonePeakMode() {
    Pause();
    gSettings.peakMode = 1;
    markers_->zonePeak->setChecked(true);
    graph_->SetCursorVisible(cursor::kZoneRight, true);
    graph_->SetCursorVisible(cursor::kZoneLeft, true);
    markers_->peak->setEnabled(false);
    markers_->next->setEnabled(false);
    markers_->zoneCenter->setEnabled(true);
    markers_->zoneWidth->setEnabled(true);
    Send(DisplayCommand::PeakMode);
    UpdateZone();
    Resume();
}

void TraceDisplay::SelectMarker(int marker) {
    gSettings.selectedMarker = marker == 2 ? 2 : 1;
    markers_->marker1Select->setChecked(marker != 2);
    markers_->marker2Select->setChecked(marker == 2);
}

void TraceDisplay::CommitMarker1() {
    InstrumentSettings& s = gSettings;
    const double f = ReadFrequencyEdit(markers_->marker1Freq, s.normMarkerFreq);
    Pause();
    s.normMarkerFreq = f;
    Send(DisplayCommand::NormMarker);
    Send(DisplayCommand::NormMarkerQuery);
    graph_->SetCursorX(cursor::kMarker1, FrequencyToPosition(CurrentAxisFrame(), s.normMarkerFreq));
    UpdateMarkerReadouts();
    Resume();
}

void TraceDisplay::CommitMarker2() {
    const AxisFrame frame = CurrentAxisFrame();
    const double current = frame.zeroSpan
                               ? PositionToTime(frame, graph_->CursorX(cursor::kMarker2))
                               : PositionToFrequency(frame, graph_->CursorX(cursor::kMarker2));
    const double f = ReadFrequencyEdit(markers_->marker2Freq, current);
    graph_->SetCursorX(cursor::kMarker2, FrequencyToPosition(frame, f));
    UpdateMarkerReadouts();
}

void TraceDisplay::CommitZoneValue(double* field, DisplayCommand set, DisplayCommand query,
                                   QLineEdit* edit) {
    const double value = ReadFrequencyEdit(edit, *field);
    if (value == *field) {
        edit->setText(QString::fromStdString(FormatSi(*field, 4, kAutoPrefix)));
        return;
    }
    Pause();
    *field = value;
    Send(set);
    Send(query);
    edit->setText(QString::fromStdString(FormatSi(*field, 4, kAutoPrefix)));
    UpdateZone();
    Resume();
}

void TraceDisplay::CommitZoneCenter() {
    CommitZoneValue(&gSettings.peakZoneCenter, DisplayCommand::PeakZoneCenter,
                    DisplayCommand::PeakZoneCenterQuery, markers_->zoneCenter);
}

void TraceDisplay::CommitZoneWidth() {
    CommitZoneValue(&gSettings.peakZoneWidth, DisplayCommand::PeakZoneWidth,
                    DisplayCommand::PeakZoneWidthQuery, markers_->zoneWidth);
}

void TraceDisplay::MarkerToCenter() {
    if (RefuseWhenCompact())
        return;
    InstrumentSettings& s = gSettings;
    Pause();
    double f = 0;
    ParseSi(markers_->marker1Freq->text().toLatin1().constData(), &f);
    s.normMarkerFreq = std::isfinite(f) ? f : s.normMarkerFreq;
    Send(DisplayCommand::NormMarker);
    Send(DisplayCommand::MarkerToCenter);
    s.centerFreq = s.normMarkerFreq;
    // The moved marker goes to the new centre: position 500 of the whole span.
    graph_->SetCursorX(MovedMarker(), FrequencyToPosition(CurrentAxisFrame(), s.centerFreq));
    NotifyChanged(Field::CenterFreq);
    Resume();
}

void TraceDisplay::ApplyMarkerCursorVisibility(bool marker2Allowed) {
    const int entry = markerDisplayEntry_;
    graph_->SetCursorVisible(cursor::kMarker1, entry == 0 || entry == 1);
    graph_->SetCursorVisible(cursor::kMarker2, marker2Allowed && (entry == 0 || entry == 2));
}

void TraceDisplay::SetMarkerDisplay(int entry) {
    if (entry < 0 || entry > 3)
        return;
    markerDisplayEntry_ = entry;
    if (QAction* action = MarkerDisplayAction(entry))
        action->setChecked(true);
    ApplyMarkerCursorVisibility(modes::Measure() == MeasureFunction::Off);
}
