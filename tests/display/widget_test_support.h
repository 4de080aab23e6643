#pragma once
// Widget tests: a host recording what the display sends, and a view with a TraceDisplay on it.

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
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace displaytest {

using Events = std::vector<std::string>;

inline const char* CommandName(display::DisplayCommand command) {
    static const char* const kNames[] = {
        "PKSEARCH",  "PEAK",     "NORMMKR",  "NORMMKR?", "FREQSETMKR", "PKCNTR",  "PKCNTR?",
        "PKWIDTH",   "PKWIDTH?", "MEAS",     "MEASOFF",  "MEASRES",    "CPMODE",  "CPCNTR",
        "CPCNTR?",   "CPWIDTH",  "CPWIDTH?", "ACPMODE",  "ACPOFS",     "ACPOFS?", "ACPCHBW",
        "ACPCHBW?",  "ACPREF",   "ACPREF?",  "ACPREFBW", "ACPREFBW?",  "OBWMODE", "OBWRATIO",
        "OBWRATIO?", "OBWDB",    "OBWDB?",   "EFANT",    "MFPROBE"};
    static_assert(std::size(kNames) == static_cast<size_t>(display::DisplayCommand::MfProbe) + 1,
                  "one name per command, in order");
    const auto index = static_cast<size_t>(command);
    return index < std::size(kNames) ? kNames[index] : "?";
}

class RecordingHost : public display::DisplayHost {
public:
    void PauseAcquisition() override { events.push_back({"pause"}); }
    void ResumeAcquisition() override { events.push_back({"resume"}); }
    int Send(display::DisplayCommand command) override {
        events.push_back(CommandName(command));
        if (command == display::DisplayCommand::MeasureResult)
            reply = measureReply;
        return refuse ? 0 : 1;
    }
    const char* LastReply() const override { return reply.c_str(); }
    int CountOf(const std::string& name) const {
        return static_cast<int>(std::count(events.begin(), events.end(), name));
    }

    std::vector<std::string> events; // "pause", "resume", "centre/span/sweep changed", a command
    std::string reply = "OK";
    std::string measureReply = "OK"; // what MeasureResult leaves as the last reply
    bool refuse = false;             // Send returns 0
};

template <typename... Widgets> QStringList Texts(const Widgets*... widgets) {
    return {widgets->text()...};
}

// A left-button mouse event at x, half-way down the graph.
inline void SendMouse(CCWGraph* graph, QEvent::Type type, double x, Qt::MouseButtons buttons) {
    const QPointF p(x, graph->height() / 2.0);
    QMouseEvent e(type, p, graph->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(graph, &e);
}

// The display with its own refreshes wired as the view wires them.
class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        orvel::test::EnsureQtApplication();
        SetDefaultSettings();
        gSettings.startingUp = 0;
        view = std::make_unique<QWidget>();
        view->resize(1200, 800);
        display = new TraceDisplay(view.get(), &host);
        SetChangeListener([this](FieldSet changed) {
            for (const auto& [field, name] : {std::pair{Field::CenterFreq, "centre changed"},
                                              {Field::Span, "span changed"},
                                              {Field::Sweep, "sweep changed"}})
                if (changed.Any(field))
                    host.events.push_back(name);
            display->Refresh(changed);
        });
        display->ApplyColors();
        display->ApplySizeChange(1200, 800);
    }
    void TearDown() override { SetChangeListener(nullptr); }

    CCWGraph* Graph() { return display->Graph(); }
    const MarkerPanel* Panel() { return &display->Markers().Panel(); }
    const MeasurementStrip* Strip() { return &display->Measurements().Strip(); }
    std::vector<double> CursorXs(std::initializer_list<int> cursors) {
        std::vector<double> xs;
        for (int c : cursors)
            xs.push_back(Graph()->CursorX(c));
        return xs;
    }
    // Peaks of falling height at 100, 150, ... so the n-th highest is at 100 + 50 n.
    void LoadStaircase(int peaks) {
        gSettings.traceKind[1] = tracekind::kSpectrum1001;
        uint8_t* live = gSettings.traceRecord.tracePoints;
        std::fill(live, live + 1001, uint8_t{20});
        for (int i = 0; i < peaks; ++i)
            live[100 + 50 * i] = static_cast<uint8_t>(190 - 5 * i);
        display->UpdateTraces();
        host.events.clear();
    }
    // The measuring function in force with another function.
    display::MeasureChoice Choice(int function) {
        display::MeasureChoice c = display::CurrentMeasureChoice();
        c.function = static_cast<MeasureFunction>(function);
        return c;
    }

    std::unique_ptr<QWidget> view;
    TraceDisplay* display = nullptr;
    RecordingHost host;
};

} // namespace displaytest
