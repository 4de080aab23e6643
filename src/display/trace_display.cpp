#include "trace_display.h"

#include "axis_mapping.h"
#include "compact_summary_view.h"
#include "cw_graph.h"
#include "display_model.h"
#include "instrument_settings.h"
#include "modes.h"
#include "trace_levels.h"
#include "trace_select_dialog.h"
#include "zoom_controls.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cstring>

using namespace display;

namespace {

int ActiveSlot() {
    return std::clamp(gSettings.activeTraceSlot, 1, 10);
}

} // namespace

TraceDisplay::TraceDisplay(QWidget* view, DisplayHost* host) : QObject(view), view_(view) {
    graph_ = new CCWGraph(view);
    markers_ = std::make_unique<MarkerController>(graph_, view, host);
    measurements_ = std::make_unique<MeasurementController>(graph_, view, host);
    zoom_ = new ZoomControls(view);
    hScroll_ = new QScrollBar(Qt::Horizontal, view);
    vScroll_ = new QScrollBar(Qt::Vertical, view);
    hScroll_->hide();
    vScroll_->hide();
    minFreqLabel_ = new QLabel(view);
    maxFreqLabel_ = new QLabel(view);
    compact_ = new CompactSummaryView(view);
    compact_->hide();

    detailedTrace_ = new QAction(QStringLiteral("Detailed Trace(&D)"), this);
    detailedTrace_->setCheckable(true);
    detailedTrace_->setChecked(gSettings.detailedTrace != 0);

    for (int c = 3; c <= CCWGraph::kCursorCount; ++c)
        graph_->SetCursorVisible(c, false);
    Connect();
}

TraceDisplay::~TraceDisplay() = default;

void TraceDisplay::Connect() {
    connect(zoom_->xZoom, &QComboBox::activated, this, &TraceDisplay::SetXZoom);
    connect(zoom_->yZoom, &QComboBox::activated, this, &TraceDisplay::SetYZoom);
    connect(zoom_->activeTrace, &QComboBox::activated, this, &TraceDisplay::SelectActiveTrace);
    connect(hScroll_, &QScrollBar::valueChanged, this, &TraceDisplay::SetXScroll);
    connect(vScroll_, &QScrollBar::valueChanged, this, &TraceDisplay::SetYScroll);

    connect(measurements_.get(), &MeasurementController::MarkerBlockEnabledChanged, this,
            [this](bool enabled) {
                markers_->SetBlockEnabled(enabled);
                emit MarkerBlockEnabledChanged(enabled);
            });
    connect(measurements_.get(), &MeasurementController::FieldStrengthReferenceChanged, this,
            [this] {
                UpdateTraces();
                markers_->UpdateMarkerReadouts();
            });
    connect(measurements_.get(), &MeasurementController::AxisEndsOverridden, this,
            [this](const QString& left, const QString& right) {
                minFreqLabel_->setText(left);
                maxFreqLabel_->setText(right);
            });
    connect(detailedTrace_, &QAction::triggered, this,
            [](bool checked) { gSettings.detailedTrace = checked ? 1 : 0; });
}

// --- Trace display ---

void TraceDisplay::ApplyColors() {
    const InstrumentSettings& s = gSettings;
    for (int trace = 1; trace <= 10; ++trace)
        graph_->SetPlotLineColor(trace + 1, s.traceColor[trace]);
    graph_->SetCursorColor(cursor::kMarker1, s.markerColor[1]);
    graph_->SetCursorColor(cursor::kMarker2, s.markerColor[2]);
    graph_->SetCursorColor(cursor::kZoneRight, s.markerColor[6]);
    graph_->SetCursorColor(cursor::kZoneLeft, s.markerColor[6]);
    graph_->SetCursorColor(cursor::kRefCenter, s.markerColor[3]);
    graph_->SetCursorColor(cursor::kRefUpper, s.markerColor[4]);
    graph_->SetCursorColor(cursor::kRefLower, s.markerColor[4]);
    for (int c = cursor::kOffset1; c <= CCWGraph::kCursorCount; ++c)
        graph_->SetCursorColor(c, s.markerColor[5]);
    graph_->SetPlotAreaColor(s.backgroundColor);
    graph_->SetGridColor(CCWGraph::kXAxis, s.scaleLineColor);
    graph_->SetGridColor(CCWGraph::kYAxis, s.scaleLineColor);
    measurements_->ApplyEditTextColors();
}

void TraceDisplay::UpdateTraces() {
    InstrumentSettings& s = gSettings;
    graph_->SetMajorTickInterval(CCWGraph::kYAxis, YTickInterval(s.scaleIndex, s.yZoom));
    graph_->SetAxisLimits(CCWGraph::kXAxis, VisibleWidth(s.xZoom), 0);
    graph_->SetMajorTickInterval(CCWGraph::kXAxis, XTickInterval(s.xZoom));

    const int active = ActiveSlot();
    const int points = PointsOfKind(s.traceKind[active]);
    uint8_t* live = s.traceRecord.tracePoints;
    if (s.traceKind[active] == tracekind::kEmpty)
        std::memset(live, 0, kDisplayPositions);
    else if (points > 0)
        std::memcpy(s.traceStore[active], live, static_cast<size_t>(points));

    const double top = ReferenceInDisplayUnit(s.refLevel) + s.levelOffset;
    const AxisRange y = YAxisRange(top, s.scaleIndex, s.yZoom, s.yScroll);
    graph_->SetAxisMaximum(CCWGraph::kYAxis, y.maximum);
    graph_->SetAxisMinimum(CCWGraph::kYAxis, y.minimum);

    for (int slot = 0; slot < kTraceSlots; ++slot)
        DrawTraceSlot(slot);
    if (modes::Peak() == PeakMode::Zone)
        markers_->UpdateZone();
    emit TracesRedrawn();
}

void TraceDisplay::DrawTraceSlot(int slot) {
    InstrumentSettings& s = gSettings;
    if (slot < 0 || slot >= kTraceSlots)
        return;
    int points = 0;
    const uint8_t* bytes = nullptr;
    if (slot == 0) {
        const int kind = s.traceKind[ActiveSlot()];
        if (kind == tracekind::kEmpty)
            std::memset(s.traceRecord.tracePoints, 0, kDisplayPositions);
        points = PointsOfKind(kind);
        bytes = s.traceRecord.tracePoints;
    } else {
        if (s.traceView[slot] == 0)
            return;
        points = PointsOfKind(s.traceKind[slot]);
        if (points == 0) { // a stored slot without data shows no line
            graph_->PlotY(slot + 1, nullptr, 0);
            return;
        }
        bytes = s.traceStore[slot];
    }
    const double top = ReferenceInDisplayUnit(s.refLevel) + s.levelOffset;
    FillDisplayArray(bytes, points, top, s.scaleIndex, displayArray_);
    const PlotWindow window = VisiblePlotWindow(s.xZoom, s.xScroll);
    graph_->PlotY(slot + 1, displayArray_ + window.first, window.count);
}

void TraceDisplay::UpdateTraceVisibility() {
    InstrumentSettings& s = gSettings;
    const int active = ActiveSlot();
    for (int plot = 2; plot <= CCWGraph::kPlotCount; ++plot)
        graph_->SetPlotEnabled(plot, false);
    s.traceView[active] = 1;
    graph_->SetPlotEnabled(active + 1, true);
    for (int trace = 1; trace <= 10; ++trace)
        graph_->SetPlotVisible(trace + 1, s.traceView[trace] != 0);
    std::memcpy(s.traceRecord.tracePoints, s.traceStore[active], kDisplayPositions);
    DrawTraceSlot(0);
}

void TraceDisplay::Refresh(FieldSet changed) {
    InstrumentSettings& s = gSettings;
    if (changed.Any(Field::FromAnalyzer)) {
        // The analyzer has moved what follows; only the axes are redrawn.
        if (changed.Any(Field::Span))
            UpdateFrequencyLabels();
        if (changed.Any(Field::Measure))
            UpdateTraces();
        return;
    }
    const FieldSet axis = Field::CenterFreq | Field::Span;
    if (changed.Any(Field::Defaults))
        SyncControls();
    if (changed.Any(Field::TraceView))
        UpdateTraceVisibility();
    if (changed.Any(Field::TraceSlots)) {
        for (int slot = 0; slot < kTraceSlots; ++slot)
            DrawTraceSlot(slot);
    }
    if (changed.Any(Field::Trace | Field::TraceView | Field::Scale | Field::Unit))
        UpdateTraces();
    if (changed.Any(axis) || (changed.Any(Field::Sweep) && s.spanIndex == 0))
        UpdateFrequencyLabels(); // in zero span the axis is the sweep time
    if (changed.Any(axis | Field::Unit | Field::MarkerMode | Field::TraceView | Field::TraceSlots))
        markers_->UpdateMarkerReadouts();
    if (changed.Any(Field::Measure))
        measurements_->UpdateMeasurementDisplay();
    if (changed.Any(axis)) {
        // The bands keep their place on the screen: their frequencies follow the axis.
        measurements_->SyncMeasurementFrequencies();
        measurements_->PlaceMeasurementCursors(MeasurementController::ObwCursors::FromShownResult);
    } else if (changed.Any(Field::Measure)) {
        measurements_->PlaceMeasurementCursors(MeasurementController::ObwCursors::FromReply);
    }
    if (changed.Any(Field::Result))
        measurements_->ShowMeasureResult();
    if (changed.Any(axis | Field::PeakZone) && modes::Peak() == PeakMode::Zone)
        markers_->UpdateZone();
    // The field-strength reference follows the centre, the antenna and the probe.
    if (changed.Any(axis | Field::Measure)) {
        if (modes::Measure() == MeasureFunction::ElectricField)
            ComputeAntennaReference(s.antennaIndex);
        else if (modes::Measure() == MeasureFunction::MagneticField)
            ComputeProbeReference(s.probeIndex);
    }
}

void TraceDisplay::UpdateFrequencyLabels() {
    const AxisEndLabels labels = FrequencyLabels(CurrentAxisFrame());
    minFreqLabel_->setText(QString::fromStdString(labels.left));
    maxFreqLabel_->setText(QString::fromStdString(labels.right));
    emit FrequencyAxisChanged();
}

void TraceDisplay::ShowUnitTexts(const char* unitLabel, const char* markerLevelLabel) {
    if (unitLabel != nullptr)
        measurements_->ShowUnitLabel(QString::fromLatin1(unitLabel));
    if (markerLevelLabel != nullptr) {
        const QString text = QString::fromLatin1(markerLevelLabel);
        markers_->ShowLevelCaption(text);
    }
}

void TraceDisplay::ShowTraceSelect() {
    if (display::RefuseWhenCompact(view_))
        return;
    TraceSelectDialog dialog(gSettings.activeTraceSlot, gSettings.traceView, view_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int view[11] = {};
    dialog.ViewFlags(view);
    ApplyTraceSelection(dialog.ActiveTraceSlot(), view);
}

void TraceDisplay::ApplyTraceSelection(int activeTraceSlot, const int traceView[11]) {
    InstrumentSettings& s = gSettings;
    s.activeTraceSlot = std::clamp(activeTraceSlot, 1, 10);
    for (int i = 1; i <= 10; ++i)
        s.traceView[i] = traceView[i] != 0 ? 1 : 0;
    zoom_->activeTrace->setCurrentIndex(s.activeTraceSlot - 1);
    UpdateTraceVisibility();
    emit ActiveTraceChanged(s.activeTraceSlot);
}

// --- Zoom, scroll, active trace ---

void TraceDisplay::SetXZoom(int zoom) {
    InstrumentSettings& s = gSettings;
    zoom = ClampZoom(zoom);
    zoom_->xZoom->setCurrentIndex(zoom);
    if (zoom == s.xZoom)
        return;
    if (s.xZoom == 0)
        s.xScroll = s.xScrollSaved;
    s.xZoom = zoom;
    const QSignalBlocker block(hScroll_);
    if (zoom == 0) {
        hScroll_->hide();
        s.xScrollSaved = s.xScroll;
        s.xScroll = 0;
    } else {
        s.xScroll = std::clamp(s.xScroll, 0, MaxXScroll(zoom));
        hScroll_->setRange(0, MaxXScroll(zoom));
        hScroll_->setPageStep(VisibleWidth(zoom));
        hScroll_->setSingleStep(1);
        hScroll_->setValue(s.xScroll);
        hScroll_->setVisible(!IsCompact());
    }
    UpdateFrequencyLabels();
    UpdateTraces();
    measurements_->PlaceMeasurementCursors(MeasurementController::ObwCursors::FromShownResult);
    if (modes::Peak() == PeakMode::Zone)
        markers_->UpdateZone();
    markers_->UpdateMarkerReadouts();
}

void TraceDisplay::SetYZoom(int zoom) {
    InstrumentSettings& s = gSettings;
    zoom = ClampZoom(zoom);
    zoom_->yZoom->setCurrentIndex(zoom);
    if (zoom == s.yZoom)
        return;
    s.yZoom = zoom;
    s.yScroll = std::clamp(s.yScroll, 0, MaxYScroll(zoom));
    const QSignalBlocker block(vScroll_);
    if (zoom == 0) {
        vScroll_->hide();
    } else {
        vScroll_->setRange(0, MaxYScroll(zoom));
        vScroll_->setPageStep(80 >> zoom);
        vScroll_->setSingleStep(1);
        vScroll_->setValue(s.yScroll);
        vScroll_->setVisible(!IsCompact());
    }
    UpdateTraces();
    measurements_->PlaceMeasurementCursors(MeasurementController::ObwCursors::FromShownResult);
}

void TraceDisplay::SetXScroll(int position) {
    InstrumentSettings& s = gSettings;
    s.xScroll = std::clamp(position, 0, MaxXScroll(s.xZoom));
    {
        const QSignalBlocker block(hScroll_);
        hScroll_->setValue(s.xScroll);
    }
    UpdateTraces();
    markers_->UpdateMarkerReadouts();
    UpdateFrequencyLabels();
    measurements_->PlaceMeasurementCursors(MeasurementController::ObwCursors::FromShownResult);
    if (modes::Peak() == PeakMode::Zone)
        markers_->UpdateZone();
}

void TraceDisplay::SetYScroll(int position) {
    InstrumentSettings& s = gSettings;
    s.yScroll = std::clamp(position, 0, MaxYScroll(s.yZoom));
    {
        const QSignalBlocker block(vScroll_);
        vScroll_->setValue(s.yScroll);
    }
    UpdateTraces();
}

void TraceDisplay::SelectActiveTrace(int listPosition) {
    InstrumentSettings& s = gSettings;
    const int slot = std::clamp(listPosition, 0, 9) + 1;
    zoom_->activeTrace->setCurrentIndex(slot - 1);
    if (slot == s.activeTraceSlot)
        return;
    s.traceView[slot] = 1;
    s.activeTraceSlot = slot;
    UpdateTraceVisibility();
    if (s.traceKind[slot] != tracekind::kEmpty) {
        for (int i = 0; i < kTraceSlots; ++i)
            DrawTraceSlot(i);
        markers_->UpdateMarkerReadouts();
    }
    emit ActiveTraceChanged(slot);
}

void TraceDisplay::ShowZoomListsUnzoomed() {
    zoom_->xZoom->setCurrentIndex(0);
    zoom_->yZoom->setCurrentIndex(0);
}

void TraceDisplay::SyncControls() {
    const InstrumentSettings& s = gSettings;
    zoom_->xZoom->setCurrentIndex(ClampZoom(s.xZoom));
    zoom_->yZoom->setCurrentIndex(ClampZoom(s.yZoom));
    zoom_->activeTrace->setCurrentIndex(ActiveSlot() - 1);
    const QSignalBlocker blockH(hScroll_);
    const QSignalBlocker blockV(vScroll_);
    hScroll_->setRange(0, MaxXScroll(s.xZoom));
    hScroll_->setPageStep(VisibleWidth(s.xZoom));
    hScroll_->setValue(s.xScroll);
    hScroll_->setVisible(s.xZoom > 0 && !IsCompact());
    vScroll_->setRange(0, MaxYScroll(s.yZoom));
    vScroll_->setPageStep(80 >> ClampZoom(s.yZoom));
    vScroll_->setValue(s.yScroll);
    vScroll_->setVisible(s.yZoom > 0 && !IsCompact());
    markers_->SyncControls();
    detailedTrace_->setChecked(s.detailedTrace != 0);
}

// --- Layout ---

bool TraceDisplay::IsCompact() const {
    return gSettings.compactMode != 0;
}

ViewLayout TraceDisplay::ApplySizeChange(int clientWidth, int clientHeight) {
    const int border = view_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const LayoutMoves moves = display::ApplySizeChange(clientWidth, clientHeight, border);
    if (moves.change == LayoutChange::EnterCompact)
        EnterCompactMode();
    else if (moves.change == LayoutChange::LeaveCompact)
        LeaveCompactMode();
    const ViewLayout layout =
        ComputeViewLayout(clientWidth, clientHeight, IsCompact(), gSettings.borderWidth);
    PlaceWidgets(layout, moves.moveRightPanel || moves.change != LayoutChange::None,
                 moves.moveBottomStrip || moves.change != LayoutChange::None);
    lastWidth_ = clientWidth;
    lastHeight_ = clientHeight;
    return layout;
}

void TraceDisplay::SetBelowGraph(QWidget* widget) {
    if (belowGraph_ == widget)
        return;
    if (belowGraph_)
        belowGraph_->hide();
    belowGraph_ = widget;
    if (lastWidth_ > 0 && lastHeight_ > 0) {
        const ViewLayout layout =
            ComputeViewLayout(lastWidth_, lastHeight_, IsCompact(), gSettings.borderWidth);
        PlaceWidgets(layout, false, false);
    }
}

void TraceDisplay::FinishStartup() {
    gSettings.startingUp = 0;
    if (lastWidth_ > 0 && lastHeight_ > 0)
        ApplySizeChange(lastWidth_, lastHeight_);
}

void TraceDisplay::PlaceWidgets(const ViewLayout& l, bool moveRight, bool moveBottom) {
    auto place = [](QWidget* w, const Rect& r) { w->setGeometry(r.x, r.y, r.width, r.height); };
    if (l.compact || belowGraph_ == nullptr) {
        place(graph_, l.graph);
        if (belowGraph_)
            belowGraph_->hide();
    }
    if (l.compact) {
        place(compact_, l.compactColumn);
        return;
    }
    place(hScroll_, l.hScrollBar);
    place(vScroll_, l.vScrollBar);
    if (belowGraph_) {
        const GraphSplit split = SplitGraphHeight(l.graph);
        place(graph_, split.graph);
        place(belowGraph_, split.below);
        vScroll_->setGeometry(l.vScrollBar.x, l.vScrollBar.y, l.vScrollBar.width,
                              split.graph.height);
        belowGraph_->show();
    }
    place(maxFreqLabel_, l.maxFreqLabel);
    if (moveBottom) {
        place(minFreqLabel_, l.minFreqLabel);
        measurements_->Place(l.bottomStrip);
    }
    if (moveRight) {
        zoom_->move(l.rightPanel.x, 0);
        markers_->MoveTo(l.rightPanel.x);
    }
}

void TraceDisplay::EnterCompactMode() {
    FillCompactSummary();
    markers_->SetShown(false);
    measurements_->SetShown(false);
    for (QWidget* w : {static_cast<QWidget*>(zoom_), static_cast<QWidget*>(hScroll_),
                       static_cast<QWidget*>(vScroll_), static_cast<QWidget*>(minFreqLabel_),
                       static_cast<QWidget*>(maxFreqLabel_)})
        w->hide();
    compact_->show();
    emit CompactModeChanged(true);
}

void TraceDisplay::LeaveCompactMode() {
    compact_->hide();
    markers_->SetShown(true);
    measurements_->SetShown(true);
    for (QWidget* w : {static_cast<QWidget*>(zoom_), static_cast<QWidget*>(minFreqLabel_),
                       static_cast<QWidget*>(maxFreqLabel_)})
        w->show();
    hScroll_->setVisible(gSettings.xZoom > 0);
    vScroll_->setVisible(gSettings.yZoom > 0);
    UpdateFrequencyLabels();
    measurements_->UpdateMeasurementDisplay();
    emit CompactModeChanged(false);
}

void TraceDisplay::FillCompactSummary() {
    CompactInputs in;
    markers_->FillCompactInputs(&in);
    measurements_->FillCompactInputs(&in);
    compact_->Show(BuildCompactSummary(in));
}
