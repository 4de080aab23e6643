#pragma once
// Geometry of the main view: graph, right panel, bottom strip, scroll bars and the compact
// column, and when the view switches between the normal and the compact layout.

namespace display {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

inline constexpr int kRightPanelWidth = 266;  // graph width is the client width less this
inline constexpr int kBottomStripHeight = 90; // graph height is the client height less this
inline constexpr int kCompactColumnWidth = 170;
inline constexpr int kMinNormalWidth = 966; // below either minimum the view goes compact
inline constexpr int kMinNormalHeight = 690;
inline constexpr int kScrollBarThickness = 17;

// Where a right-panel control goes: x = cx - offset - 5 - borderWidth.
int RightPanelX(int clientWidth, int offset, int borderWidth);
// Where a bottom-strip control goes: y = cy - distance.
int BottomStripY(int clientHeight, int distance);

struct ViewLayout {
    bool compact = false;
    Rect graph;
    // Normal layout.
    Rect rightPanel;  // column of panel controls, from offset 241 to the right edge
    Rect bottomStrip; // below the graph and the horizontal scroll bar, graph wide
    Rect hScrollBar;
    Rect vScrollBar;
    Rect minFreqLabel; // under the left end of the X axis
    Rect maxFreqLabel; // under the right end
    // Compact layout.
    Rect compactColumn;
};

// The geometry of a client area in the normal or the compact layout.
ViewLayout ComputeViewLayout(int clientWidth, int clientHeight, bool compact, int borderWidth);

// The graph's height shared with a strip below it (the waterfall): the strip takes about two
// fifths, the graph keeps the rest less a small gap; the client area, and so the compact
// decision, stays as it is.
struct GraphSplit {
    Rect graph;
    Rect below;
};
GraphSplit SplitGraphHeight(const Rect& graph);

enum class LayoutChange { None, EnterCompact, LeaveCompact };
// Whether a size change enters or leaves the compact layout; never enters while starting up.
LayoutChange DecideLayoutChange(int clientWidth, int clientHeight, bool startingUp,
                                bool compactMode);

// What a size change moves: the panel only on a width change, the strip only on a height change.
struct LayoutMoves {
    LayoutChange change = LayoutChange::None;
    bool moveRightPanel = false;
    bool moveBottomStrip = false;
};
// Applies a size change to the record's layout state (compactMode, lastLayoutWidth/Height) and
// says what to move. `borderWidth` is read into the record while starting up.
LayoutMoves ApplySizeChange(int clientWidth, int clientHeight, int systemBorderWidth);

} // namespace display
