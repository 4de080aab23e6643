#include "waterfall_view.h"

#include "colour_map.h"
#include "cw_graph.h"
#include "instrument_settings.h"
#include "trace_levels.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

using display::WaterfallHistory;

namespace {
constexpr int kTopMargin = 2;
constexpr int kTimeLabelSpacing = 36; // pixels between time labels
} // namespace

WaterfallView::WaterfallView(const CCWGraph* graph, QWidget* parent)
    : QWidget(parent), graph_(graph),
      picture_(WaterfallHistory::kPositions, history_.Capacity(), QImage::Format_RGB32) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("waterfall"));
    picture_.fill(Qt::black);
}

// Ring rows are kept bottom-up in the picture, so that ages run downwards in it.
int WaterfallView::PictureLine(int age) const {
    return history_.Capacity() - 1 - history_.RingIndex(age);
}

void WaterfallView::MapRow(int age) {
    auto* line = reinterpret_cast<uint32_t*>(picture_.scanLine(PictureLine(age)));
    display::MapLevels(history_.Row(age), WaterfallHistory::kPositions, colourLo_, colourHi_, line);
}

void WaterfallView::RecolourIfRangeMoved() {
    const double lo = graph_->AxisMinimum(CCWGraph::kYAxis);
    const double hi = graph_->AxisMaximum(CCWGraph::kYAxis);
    if (lo == colourLo_ && hi == colourHi_)
        return;
    colourLo_ = lo;
    colourHi_ = hi;
    for (int age = 0; age < history_.Count(); ++age)
        MapRow(age);
}

void WaterfallView::AddRow(const double* levels, const display::WaterfallFrame& frame,
                           double seconds) {
    history_.Add(levels, frame, seconds);
    RecolourIfRangeMoved();
    MapRow(0);
    update();
}

void WaterfallView::FollowFrame(double centerFreq, int spanIndex) {
    if (history_.FollowFrame(centerFreq, spanIndex))
        update();
}

void WaterfallView::Clear() {
    history_.Clear();
    update();
}

void WaterfallView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x1A, 0x1A, 0x1A));
    const QRect plot = graph_->PlotArea();
    const QRect area(plot.left(), kTopMargin, plot.width(), std::max(height() - 2 * kTopMargin, 1));
    painter.fillRect(area, Qt::black);
    const int rows = history_.Count();
    if (rows == 0)
        return;
    RecolourIfRangeMoved();

    // The graph's X window: display positions xScroll .. xScroll + width.
    const int width = display::VisibleWidth(gSettings.xZoom);
    const int first = std::clamp(gSettings.xScroll, 0, 1000 - width);
    const double left = graph_->XToPixel(0);
    const double right = graph_->XToPixel(width) + 1;

    // One pixel a row while they fit; more rows are squeezed into the height.
    const double rowHeight = rows <= area.height() ? 1.0 : double(area.height()) / rows;
    painter.setClipRect(area);
    // Ages 0.. run down the picture from the newest row's line, wrapping at its bottom.
    const int top = PictureLine(0);
    const int firstPart = std::min(rows, history_.Capacity() - top);
    painter.drawImage(QRectF(left, area.top(), right - left, firstPart * rowHeight), picture_,
                      QRectF(first, top, width + 1, firstPart));
    if (rows > firstPart)
        painter.drawImage(QRectF(left, area.top() + firstPart * rowHeight, right - left,
                                 (rows - firstPart) * rowHeight),
                          picture_, QRectF(first, 0, width + 1, rows - firstPart));
    painter.setClipping(false);

    // Time axis: seconds before the newest row.
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QColor(200, 200, 200));
    const double newest = history_.Seconds(0);
    const int shownHeight = static_cast<int>(rows * rowHeight);
    for (int y = 0; y < shownHeight; y += kTimeLabelSpacing) {
        const int age = std::min(static_cast<int>(y / rowHeight), rows - 1);
        const double t = history_.Seconds(age) - newest;
        const QString text =
            QString::number(t, 'f', std::abs(t) < 10 ? 1 : 0) + QStringLiteral("s");
        painter.drawText(QRectF(0, area.top() + y - 1, area.left() - 4, 12),
                         Qt::AlignRight | Qt::AlignTop, text);
    }
}
