#pragma once
// The waterfall under the graph: one row per trace, newest at the top, coloured by level over the
// graph's Y range, on the graph's X positions, zoom and scroll, with a time axis at the left.

#include "waterfall_history.h"

#include <QImage>
#include <QWidget>

class CCWGraph;

class WaterfallView : public QWidget {
    Q_OBJECT
public:
    // `graph` gives the X window, the plot area's left and right edges and the Y range.
    explicit WaterfallView(const CCWGraph* graph, QWidget* parent = nullptr);

    // Adds a row of 1001 display-position levels taken at `seconds`; clears first when the frame
    // changed.
    void AddRow(const double* levels, const display::WaterfallFrame& frame, double seconds);
    // Clears when the centre or the span moved.
    void FollowFrame(double centerFreq, int spanIndex);
    void Clear();
    const display::WaterfallHistory& History() const { return history_; }

    QSize sizeHint() const override { return {700, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int PictureLine(int age) const;
    void MapRow(int age);
    void RecolourIfRangeMoved();

    const CCWGraph* graph_;
    display::WaterfallHistory history_;
    QImage picture_; // one line per ring row, 1001 pixels wide
    double colourLo_ = 0;
    double colourHi_ = 0;
};
