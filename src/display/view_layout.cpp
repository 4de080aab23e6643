#include "view_layout.h"

#include "instrument_settings.h"

#include <algorithm>

namespace display {

int RightPanelX(int clientWidth, int offset, int borderWidth) {
    return clientWidth - offset - 5 - borderWidth;
}

int BottomStripY(int clientHeight, int distance) {
    return clientHeight - distance;
}

namespace {
constexpr int kPanelLeftOffset = 241;   // the panel's outer group box
constexpr int kCompactLeftOffset = 160; // the compact column's group boxes
constexpr int kFreqLabelDistance = 64;  // axis-end labels, from the bottom
constexpr int kStripDistance = 55;      // measurement rows, from the bottom
} // namespace

ViewLayout ComputeViewLayout(int cx, int cy, bool compact, int bw) {
    ViewLayout l;
    l.compact = compact;
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    if (compact) {
        l.graph = {0, 0, std::max(cx - kCompactColumnWidth, 0), cy};
        l.compactColumn = {RightPanelX(cx, kCompactLeftOffset, bw), 0, kCompactLeftOffset, cy};
        return l;
    }
    const int graphWidth = std::max(cx - kRightPanelWidth, 0);
    l.graph = {0, 0, graphWidth, std::max(cy - kBottomStripHeight, 0)};
    l.rightPanel = {RightPanelX(cx, kPanelLeftOffset, bw), 0, kPanelLeftOffset, cy};
    l.hScrollBar = {0, cy - 85, graphWidth, kScrollBarThickness};
    l.vScrollBar = {cx - 265 - bw, 0, kScrollBarThickness, std::max(cy - kBottomStripHeight, 0)};
    l.minFreqLabel = {28, BottomStripY(cy, kFreqLabelDistance), 72, 15};
    l.maxFreqLabel = {cx - 325 - bw, BottomStripY(cy, kFreqLabelDistance), 72, 15};
    l.bottomStrip = {0, BottomStripY(cy, kStripDistance), graphWidth, kStripDistance};
    return l;
}

GraphSplit SplitGraphHeight(const Rect& graph) {
    constexpr int kGap = 4;
    const int below = std::max(graph.height * 2 / 5, 0);
    GraphSplit split;
    split.graph = {graph.x, graph.y, graph.width, std::max(graph.height - below - kGap, 0)};
    split.below = {graph.x, graph.y + graph.height - below, graph.width, below};
    return split;
}

LayoutChange DecideLayoutChange(int cx, int cy, bool startingUp, bool compactMode) {
    if (!compactMode && !startingUp && (cx < kMinNormalWidth || cy < kMinNormalHeight))
        return LayoutChange::EnterCompact;
    if (compactMode && cx >= kMinNormalWidth && cy >= kMinNormalHeight)
        return LayoutChange::LeaveCompact;
    return LayoutChange::None;
}

LayoutMoves ApplySizeChange(int cx, int cy, int systemBorderWidth) {
    InstrumentSettings& s = gSettings;
    if (s.startingUp)
        s.borderWidth = systemBorderWidth;
    LayoutMoves moves;
    moves.change = DecideLayoutChange(cx, cy, s.startingUp != 0, s.compactMode != 0);
    if (moves.change == LayoutChange::EnterCompact) {
        s.compactMode = 1;
    } else if (moves.change == LayoutChange::LeaveCompact) {
        s.compactMode = 0;
        s.lastLayoutWidth = 0;
        s.lastLayoutHeight = 0;
    }
    if (!s.compactMode) {
        moves.moveBottomStrip = cy != s.lastLayoutHeight;
        moves.moveRightPanel = cx != s.lastLayoutWidth;
    }
    s.lastLayoutWidth = cx;
    s.lastLayoutHeight = cy;
    return moves;
}

} // namespace display
