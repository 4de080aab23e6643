#pragma once
// Widget tests: a host that records what the display sends, and a view with a TraceDisplay on
// it. Brings the display's parts and the Qt widget classes the tests reach through it.

#include "cw_graph.h"
#include "display_host.h"
#include "instrument_settings.h"
#include "marker_panel.h"
#include "measurement_strip.h"
#include "qt_support.h"
#include "trace_display.h"
#include "zoom_controls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace displaytest {

using Events = std::vector<std::string>;

class RecordingHost : public display::DisplayHost {
public:
    void PauseAcquisition() override { events.push_back({"pause"}); }
    void ResumeAcquisition() override { events.push_back({"resume"}); }
    int Send(display::DisplayCommand command) override;
    const char* LastReply() const override { return reply.c_str(); }
    // What the display announces: "centre changed", "span changed", "sweep changed".
    void Changed(FieldSet changed);

    int CountOf(const std::string& name) const;

    std::vector<std::string> events; // "pause", "resume", a change, or the command name
    std::string reply = "OK";
    std::string measureReply = "OK"; // what MeasureResult leaves as the last reply
    int failuresBeforeSuccess = 0;   // Send returns 0 this many times first
};

const char* CommandName(display::DisplayCommand command);

// Closes every modal window that opens while it lives (message boxes of refused commands).
class ModalCloser {
public:
    ModalCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
                ++closed_;
            }
        });
        timer_.start(10);
    }
    int Closed() const { return closed_; }

private:
    QTimer timer_;
    int closed_ = 0;
};

// The X positions of the given cursors, to compare in one go.
std::vector<double> CursorXs(CCWGraph* graph, std::initializer_list<int> cursors);

// The texts of labels and edits, to compare in one go.
template <typename... Widgets> QStringList Texts(const Widgets*... widgets) {
    return {widgets->text()...};
}

// A left-button mouse event at x, half-way down the graph.
void SendMouse(class CCWGraph* graph, QEvent::Type type, double x, Qt::MouseButtons buttons);

// The display with its own refreshes wired as the view wires them.
class DisplayFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CCWGraph* Graph() { return display->Graph(); }

    std::unique_ptr<QWidget> view;
    TraceDisplay* display = nullptr;
    RecordingHost host;
};

} // namespace displaytest
