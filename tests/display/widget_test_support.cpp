#include "widget_test_support.h"

#include <QMouseEvent>

#include <algorithm>
#include <iterator>
#include <utility>

namespace displaytest {

const char* CommandName(display::DisplayCommand command) {
    // The keyword of each command, in the order of DisplayCommand.
    static const char* const kNames[] = {
        "PKSEARCH",  "PEAK",     "NORMMKR",  "NORMMKR?", "FREQSETMKR", "PKCNTR",  "PKCNTR?",
        "PKWIDTH",   "PKWIDTH?", "MEAS",     "MEASOFF",  "MEASRES",    "CPMODE",  "CPCNTR",
        "CPCNTR?",   "CPWIDTH",  "CPWIDTH?", "ACPMODE",  "ACPOFS",     "ACPOFS?", "ACPCHBW",
        "ACPCHBW?",  "ACPREF",   "ACPREF?",  "ACPREFBW", "ACPREFBW?",  "OBWMODE", "OBWRATIO",
        "OBWRATIO?", "OBWDB",    "OBWDB?",   "EFANT",    "MFPROBE"};
    const auto index = static_cast<size_t>(command);
    return index < std::size(kNames) ? kNames[index] : "?";
}

std::vector<double> CursorXs(CCWGraph* graph, std::initializer_list<int> cursors) {
    std::vector<double> xs;
    for (int c : cursors)
        xs.push_back(graph->CursorX(c));
    return xs;
}

void SendMouse(CCWGraph* graph, QEvent::Type type, double x, Qt::MouseButtons buttons) {
    const QPointF p(x, graph->height() / 2.0);
    QMouseEvent e(type, p, graph->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(graph, &e);
}

int RecordingHost::Send(display::DisplayCommand command) {
    events.push_back(CommandName(command));
    if (command == display::DisplayCommand::MeasureResult)
        reply = measureReply;
    if (failuresBeforeSuccess > 0) {
        --failuresBeforeSuccess;
        return 0;
    }
    return 1;
}

void RecordingHost::Changed(FieldSet changed) {
    for (const auto& [field, name] :
         {std::pair{Field::CenterFreq, "centre changed"}, std::pair{Field::Span, "span changed"},
          std::pair{Field::Sweep, "sweep changed"}})
        if (changed.Any(field))
            events.push_back(name);
}

int RecordingHost::CountOf(const std::string& name) const {
    return static_cast<int>(std::count(events.begin(), events.end(), name));
}

void DisplayFixture::SetUp() {
    orvel::test::EnsureQtApplication();
    SetDefaultSettings();
    gSettings.startingUp = 0;
    view = std::make_unique<QWidget>();
    view->resize(1200, 800);
    display = new TraceDisplay(view.get(), &host);
    SetChangeListener([this](FieldSet changed) {
        host.Changed(changed);
        display->Refresh(changed);
    });
    display->ApplyColors();
    display->ApplySizeChange(1200, 800);
}

void DisplayFixture::TearDown() {
    SetChangeListener(nullptr);
    view.reset();
    display = nullptr;
}

} // namespace displaytest
