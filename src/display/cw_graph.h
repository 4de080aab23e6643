#pragma once
// The trace graph: 11 plots against one X and one Y axis, and 11 vertical cursors that the user
// can drag. Plots, axes and cursors are picked by 1-based index; an index out of range is
// ignored (reads give 0). Colours are 32-bit RGB values with red in the low byte.

#include <QColor>
#include <QPointF>
#include <QWidget>

#include <cstdint>
#include <vector>

// A 0x00BBGGRR colour as Qt's colour, and back (alpha dropped).
QColor ColorFromRgb(uint32_t rgb);
uint32_t RgbFromColor(const QColor& color);

class CCWGraph : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPlotCount = 11;
    static constexpr int kCursorCount = 11;
    static constexpr int kXAxis = 1;
    static constexpr int kYAxis = 2;

    explicit CCWGraph(QWidget* parent = nullptr);

    // Graph.
    void SetPlotAreaColor(uint32_t rgb);
    uint32_t PlotAreaColor() const { return plotAreaColor_; }

    // Plots.
    void SetPlotLineColor(int plot, uint32_t rgb);
    uint32_t PlotLineColor(int plot) const;
    void SetPlotVisible(int plot, bool visible);
    bool PlotVisible(int plot) const;
    void SetPlotEnabled(int plot, bool enabled);
    bool PlotEnabled(int plot) const;
    // Replaces the plot's data: value k is drawn at X = k.
    void PlotY(int plot, const double* values, int count);
    int PlotPointCount(int plot) const;
    double PlotValue(int plot, int k) const;

    // Axes: kXAxis or kYAxis.
    double AxisMinimum(int axis) const;
    double AxisMaximum(int axis) const;
    void SetAxisMinimum(int axis, double value);
    void SetAxisMaximum(int axis, double value);
    void SetAxisLimits(int axis, double upper, double lower);
    void SetMajorTickInterval(int axis, double interval);
    double MajorTickInterval(int axis) const;
    void SetGridColor(int axis, uint32_t rgb);
    uint32_t GridColor(int axis) const;

    // Cursors.
    double CursorX(int cursor) const;
    void SetCursorX(int cursor, double x);
    // The value of plot 1 (the active trace) at the cursor's X.
    double CursorY(int cursor) const;
    void SetCursorColor(int cursor, uint32_t rgb);
    uint32_t CursorColor(int cursor) const;
    void SetCursorVisible(int cursor, bool visible);
    bool CursorVisible(int cursor) const;
    void SetCursorEnabled(int cursor, bool enabled);
    bool CursorEnabled(int cursor) const;

    // Extra lines and dots drawn over the plots, under the cursors, in plot coordinates (X as
    // the plots', Y in levels). None by default.
    struct Overlay {
        uint32_t color = 0xFFFFFF;
        std::vector<QPointF> line; // joined in order
        std::vector<QPointF> dots; // small squares
    };
    void SetOverlays(std::vector<Overlay> overlays);
    const std::vector<Overlay>& Overlays() const { return overlays_; }

    // Geometry of the plot area and the mapping of X values to pixels.
    QRect PlotArea() const;
    double XToPixel(double x) const;
    double PixelToX(double px) const;

    QSize sizeHint() const override { return {700, 500}; }

signals:
    // While the user drags a cursor, and once more when the button is released.
    void CursorMoved(int cursor, double x);
    void CursorReleased(int cursor, double x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Plot {
        uint32_t color = 0xFFFFFF;
        bool visible = true;
        bool enabled = true;
        std::vector<double> values;
    };
    struct Axis {
        double minimum = 0;
        double maximum = 1;
        double tickInterval = 0.1;
        uint32_t gridColor = 0x808080;
    };
    struct Cursor {
        double x = 0;
        uint32_t color = 0xFFFFFF;
        bool visible = true;
        bool enabled = true;
    };

    Axis* AxisAt(int axis);
    const Axis* AxisAt(int axis) const;
    int CursorNear(double px) const;
    double YToPixel(double y) const;
    void DrawGrid(class QPainter& painter, const QRect& area);
    void DrawAxisValues(class QPainter& painter, const QRect& area);
    void DrawOverlays(class QPainter& painter);

    uint32_t plotAreaColor_ = 0x000000;
    Plot plots_[kPlotCount];
    Axis x_;
    Axis y_;
    Cursor cursors_[kCursorCount];
    std::vector<Overlay> overlays_;
    int dragged_ = 0; // 1-based cursor being dragged, 0 none
};
