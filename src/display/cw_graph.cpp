#include "cw_graph.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLeftMargin = 48; // room for the level values
constexpr int kMargin = 8;
constexpr int kGrabPixels = 5;      // how near a press must be to take a cursor
constexpr int kMaxGridLines = 200;  // a tiny tick interval draws no grid rather than hang
constexpr double kPixelLimit = 1e5; // keeps wild levels inside the raster engine's range

bool ValidIndex(int index, int count) {
    return index >= 1 && index <= count;
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

} // namespace

QColor ColorFromRgb(uint32_t rgb) {
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

uint32_t RgbFromColor(const QColor& color) {
    const QColor c = color.toRgb();
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

CCWGraph::CCWGraph(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(120, 80);
    x_ = {0, 1000, 100, 0x808080};
    y_ = {-70, 10, 10, 0x808080};
    plots_[0].color = 0xE0E0E0;
}

void CCWGraph::SetPlotAreaColor(uint32_t rgb) {
    plotAreaColor_ = rgb;
    update();
}

void CCWGraph::SetPlotLineColor(int plot, uint32_t rgb) {
    if (ValidIndex(plot, kPlotCount)) {
        plots_[plot - 1].color = rgb;
        update();
    }
}

uint32_t CCWGraph::PlotLineColor(int plot) const {
    return ValidIndex(plot, kPlotCount) ? plots_[plot - 1].color : 0;
}

void CCWGraph::SetPlotVisible(int plot, bool visible) {
    if (ValidIndex(plot, kPlotCount) && plots_[plot - 1].visible != visible) {
        plots_[plot - 1].visible = visible;
        update();
    }
}

bool CCWGraph::PlotVisible(int plot) const {
    return ValidIndex(plot, kPlotCount) && plots_[plot - 1].visible;
}

void CCWGraph::SetPlotEnabled(int plot, bool enabled) {
    if (ValidIndex(plot, kPlotCount))
        plots_[plot - 1].enabled = enabled;
}

bool CCWGraph::PlotEnabled(int plot) const {
    return ValidIndex(plot, kPlotCount) && plots_[plot - 1].enabled;
}

void CCWGraph::PlotY(int plot, const double* values, int count) {
    if (!ValidIndex(plot, kPlotCount))
        return;
    std::vector<double>& data = plots_[plot - 1].values;
    if (values == nullptr || count <= 0)
        data.clear();
    else
        data.assign(values, values + count);
    update();
}

int CCWGraph::PlotPointCount(int plot) const {
    return ValidIndex(plot, kPlotCount) ? static_cast<int>(plots_[plot - 1].values.size()) : 0;
}

double CCWGraph::PlotValue(int plot, int k) const {
    if (!ValidIndex(plot, kPlotCount))
        return 0;
    const std::vector<double>& data = plots_[plot - 1].values;
    return (k >= 0 && k < static_cast<int>(data.size())) ? data[k] : 0;
}

CCWGraph::Axis* CCWGraph::AxisAt(int axis) {
    return axis == kXAxis ? &x_ : axis == kYAxis ? &y_ : nullptr;
}

const CCWGraph::Axis* CCWGraph::AxisAt(int axis) const {
    return axis == kXAxis ? &x_ : axis == kYAxis ? &y_ : nullptr;
}

double CCWGraph::AxisMinimum(int axis) const {
    const Axis* a = AxisAt(axis);
    return a ? a->minimum : 0;
}

double CCWGraph::AxisMaximum(int axis) const {
    const Axis* a = AxisAt(axis);
    return a ? a->maximum : 0;
}

void CCWGraph::SetAxisMinimum(int axis, double value) {
    if (Axis* a = AxisAt(axis)) {
        a->minimum = Finite(value);
        update();
    }
}

void CCWGraph::SetAxisMaximum(int axis, double value) {
    if (Axis* a = AxisAt(axis)) {
        a->maximum = Finite(value);
        update();
    }
}

void CCWGraph::SetAxisLimits(int axis, double upper, double lower) {
    if (Axis* a = AxisAt(axis)) {
        a->maximum = Finite(upper);
        a->minimum = Finite(lower);
        update();
    }
}

void CCWGraph::SetMajorTickInterval(int axis, double interval) {
    if (Axis* a = AxisAt(axis)) {
        a->tickInterval = Finite(interval);
        update();
    }
}

double CCWGraph::MajorTickInterval(int axis) const {
    const Axis* a = AxisAt(axis);
    return a ? a->tickInterval : 0;
}

void CCWGraph::SetGridColor(int axis, uint32_t rgb) {
    if (Axis* a = AxisAt(axis)) {
        a->gridColor = rgb;
        update();
    }
}

uint32_t CCWGraph::GridColor(int axis) const {
    const Axis* a = AxisAt(axis);
    return a ? a->gridColor : 0;
}

uint32_t CCWGraph::CursorColor(int cursor) const {
    return ValidIndex(cursor, kCursorCount) ? cursors_[cursor - 1].color : 0;
}

double CCWGraph::CursorX(int cursor) const {
    return ValidIndex(cursor, kCursorCount) ? cursors_[cursor - 1].x : 0;
}

void CCWGraph::SetCursorX(int cursor, double x) {
    if (ValidIndex(cursor, kCursorCount)) {
        cursors_[cursor - 1].x = Finite(x);
        update();
    }
}

double CCWGraph::CursorY(int cursor) const {
    if (!ValidIndex(cursor, kCursorCount))
        return 0;
    const std::vector<double>& data = plots_[0].values;
    if (data.empty())
        return 0;
    const double x = std::clamp(cursors_[cursor - 1].x, 0.0, static_cast<double>(data.size() - 1));
    return data[static_cast<size_t>(std::lround(x))];
}

void CCWGraph::SetCursorColor(int cursor, uint32_t rgb) {
    if (ValidIndex(cursor, kCursorCount)) {
        cursors_[cursor - 1].color = rgb;
        update();
    }
}

void CCWGraph::SetCursorVisible(int cursor, bool visible) {
    if (ValidIndex(cursor, kCursorCount) && cursors_[cursor - 1].visible != visible) {
        cursors_[cursor - 1].visible = visible;
        update();
    }
}

bool CCWGraph::CursorVisible(int cursor) const {
    return ValidIndex(cursor, kCursorCount) && cursors_[cursor - 1].visible;
}

void CCWGraph::SetCursorEnabled(int cursor, bool enabled) {
    if (ValidIndex(cursor, kCursorCount))
        cursors_[cursor - 1].enabled = enabled;
}

bool CCWGraph::CursorEnabled(int cursor) const {
    return ValidIndex(cursor, kCursorCount) && cursors_[cursor - 1].enabled;
}

QRect CCWGraph::PlotArea() const {
    return QRect(kLeftMargin, kMargin, std::max(width() - kLeftMargin - kMargin, 2),
                 std::max(height() - 2 * kMargin, 2));
}

double CCWGraph::XToPixel(double x) const {
    const QRect area = PlotArea();
    const double range = x_.maximum - x_.minimum;
    if (range == 0)
        return area.left();
    const double px = area.left() + (x - x_.minimum) / range * (area.width() - 1);
    return std::clamp(px, -kPixelLimit, kPixelLimit);
}

double CCWGraph::PixelToX(double px) const {
    const QRect area = PlotArea();
    return x_.minimum +
           (px - area.left()) / std::max(area.width() - 1, 1) * (x_.maximum - x_.minimum);
}

double CCWGraph::YToPixel(double y) const {
    const QRect area = PlotArea();
    const double range = y_.maximum - y_.minimum;
    if (range == 0)
        return area.top();
    const double py = area.top() + (y_.maximum - y) / range * (area.height() - 1);
    return std::clamp(py, -kPixelLimit, kPixelLimit);
}

void CCWGraph::DrawGrid(QPainter& painter, const QRect& area) {
    if (x_.tickInterval > 0) {
        const double lines = (x_.maximum - x_.minimum) / x_.tickInterval;
        if (lines > 0 && lines <= kMaxGridLines) {
            painter.setPen(QPen(ColorFromRgb(x_.gridColor), 0));
            for (int i = 0; i <= static_cast<int>(lines + 1e-9); ++i) {
                const double px = std::round(XToPixel(x_.minimum + i * x_.tickInterval));
                painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
            }
        }
    }
    if (y_.tickInterval > 0) {
        const double lines = (y_.maximum - y_.minimum) / y_.tickInterval;
        if (lines > 0 && lines <= kMaxGridLines) {
            painter.setPen(QPen(ColorFromRgb(y_.gridColor), 0));
            for (int i = 0; i <= static_cast<int>(lines + 1e-9); ++i) {
                const double py = std::round(YToPixel(y_.maximum - i * y_.tickInterval));
                painter.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
            }
        }
    }
}

void CCWGraph::DrawAxisValues(QPainter& painter, const QRect& area) {
    if (!(y_.tickInterval > 0))
        return;
    const double lines = (y_.maximum - y_.minimum) / y_.tickInterval;
    if (!(lines > 0 && lines <= kMaxGridLines))
        return;
    QFont font = painter.font();
    font.setPixelSize(11);
    painter.setFont(font);
    painter.setPen(QColor(200, 200, 200));
    const int step = lines > 16 ? 2 : 1; // keep the values from overlapping
    for (int i = 0; i <= static_cast<int>(lines + 1e-9); i += step) {
        const double value = y_.maximum - i * y_.tickInterval;
        const double py = YToPixel(value);
        const QString text = QString::number(
            value, 'f',
            std::abs(value - std::round(value)) < 1e-9 ? 0 : (y_.tickInterval < 1 ? 2 : 1));
        painter.drawText(QRectF(0, py - 7, area.left() - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
                         text);
    }
}

void CCWGraph::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x1A, 0x1A, 0x1A));
    const QRect area = PlotArea();
    painter.fillRect(area, ColorFromRgb(plotAreaColor_));
    DrawAxisValues(painter, area);

    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawGrid(painter, area);

    // Plot 1 (the copy of the active trace) goes underneath, so the trace shows in its own
    // colour; the enabled plot (the active trace) goes on top of the others.
    QPolygonF line;
    line.reserve(1001);
    int order[kPlotCount];
    int n = 0;
    order[n++] = 0;
    for (int pass = 0; pass < 2; ++pass)
        for (int p = 1; p < kPlotCount; ++p)
            if (plots_[p].enabled == (pass == 1))
                order[n++] = p;
    for (int p : order) {
        const Plot& plot = plots_[p];
        if (!plot.visible || plot.values.empty())
            continue;
        line.clear();
        const int count = static_cast<int>(plot.values.size());
        const int first = std::clamp(static_cast<int>(std::floor(x_.minimum)) - 1, 0, count);
        const int last = std::clamp(static_cast<int>(std::ceil(x_.maximum)) + 1, 0, count - 1);
        for (int k = first; k <= last; ++k)
            line.append(QPointF(XToPixel(k) + 0.5, YToPixel(plot.values[k]) + 0.5));
        painter.setPen(QPen(ColorFromRgb(plot.color), 0));
        if (line.size() == 1)
            painter.drawPoint(line.front());
        else
            painter.drawPolyline(line);
    }

    DrawOverlays(painter);

    for (int c = kCursorCount - 1; c >= 0; --c) {
        const Cursor& cursor = cursors_[c];
        if (!cursor.visible || cursor.x < x_.minimum || cursor.x > x_.maximum)
            continue;
        const double px = std::round(XToPixel(cursor.x)) + 0.5;
        const QColor color = ColorFromRgb(cursor.color);
        painter.setPen(QPen(color, 0));
        painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
        if (c < 2) { // the two markers carry a small flag at the top
            const QPointF flag[3] = {{px - 4, double(area.top())},
                                     {px + 4, double(area.top())},
                                     {px, double(area.top()) + 6}};
            painter.setBrush(color);
            painter.drawPolygon(flag, 3);
            painter.setBrush(Qt::NoBrush);
        }
    }
    painter.setClipping(false);
    painter.setPen(QPen(ColorFromRgb(x_.gridColor), 0));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

void CCWGraph::SetOverlays(std::vector<Overlay> overlays) {
    if (overlays_.empty() && overlays.empty())
        return;
    overlays_ = std::move(overlays);
    update();
}

void CCWGraph::DrawOverlays(QPainter& painter) {
    QPolygonF line;
    for (const Overlay& overlay : overlays_) {
        const QColor color = ColorFromRgb(overlay.color);
        line.clear();
        for (const QPointF& p : overlay.line)
            line.append(QPointF(XToPixel(p.x()) + 0.5, YToPixel(p.y()) + 0.5));
        if (line.size() > 1) {
            painter.setPen(QPen(color, 2));
            painter.drawPolyline(line);
        }
        painter.setPen(Qt::NoPen);
        for (const QPointF& p : overlay.dots)
            painter.fillRect(QRectF(XToPixel(p.x()) - 1.5, YToPixel(p.y()) - 1.5, 4, 4), color);
    }
}

int CCWGraph::CursorNear(double px) const {
    int best = 0;
    double bestDistance = kGrabPixels + 0.5;
    for (int c = 1; c <= kCursorCount; ++c) {
        const Cursor& cursor = cursors_[c - 1];
        if (!cursor.visible || !cursor.enabled || cursor.x < x_.minimum || cursor.x > x_.maximum)
            continue;
        const double distance = std::abs(XToPixel(cursor.x) - px);
        if (distance < bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return best;
}

void CCWGraph::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !PlotArea().contains(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragged_ = CursorNear(event->position().x());
}

void CCWGraph::mouseMoveEvent(QMouseEvent* event) {
    if (dragged_ == 0) {
        setCursor(CursorNear(event->position().x()) != 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    const double lower = std::min(x_.minimum, x_.maximum);
    const double upper = std::max(x_.minimum, x_.maximum);
    const double x = std::clamp(PixelToX(event->position().x()), lower, upper);
    SetCursorX(dragged_, x);
    emit CursorMoved(dragged_, x);
}

void CCWGraph::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || dragged_ == 0)
        return;
    const int cursor = dragged_;
    dragged_ = 0;
    emit CursorReleased(cursor, cursors_[cursor - 1].x);
}
