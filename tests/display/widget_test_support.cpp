#include "widget_test_support.h"

#include "instrument_settings.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace displaytest {

void EnsureApplication() {
    if (QApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test_display_widgets";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

const char* CommandName(display::DisplayCommand command) {
    using display::DisplayCommand;
    switch (command) {
    case DisplayCommand::PeakSearch:
        return "PKSEARCH";
    case DisplayCommand::PeakMode:
        return "PEAK";
    case DisplayCommand::NormMarker:
        return "NORMMKR";
    case DisplayCommand::NormMarkerQuery:
        return "NORMMKR?";
    case DisplayCommand::MarkerToCenter:
        return "FREQSETMKR";
    case DisplayCommand::PeakZoneCenter:
        return "PKCNTR";
    case DisplayCommand::PeakZoneCenterQuery:
        return "PKCNTR?";
    case DisplayCommand::PeakZoneWidth:
        return "PKWIDTH";
    case DisplayCommand::PeakZoneWidthQuery:
        return "PKWIDTH?";
    case DisplayCommand::Measure:
        return "MEAS";
    case DisplayCommand::MeasureOff:
        return "MEASOFF";
    case DisplayCommand::MeasureResult:
        return "MEASRES";
    case DisplayCommand::CpMode:
        return "CPMODE";
    case DisplayCommand::CpCenter:
        return "CPCNTR";
    case DisplayCommand::CpCenterQuery:
        return "CPCNTR?";
    case DisplayCommand::CpWidth:
        return "CPWIDTH";
    case DisplayCommand::CpWidthQuery:
        return "CPWIDTH?";
    case DisplayCommand::AcpMode:
        return "ACPMODE";
    case DisplayCommand::AcpOffset:
        return "ACPOFS";
    case DisplayCommand::AcpOffsetQuery:
        return "ACPOFS?";
    case DisplayCommand::AcpChannelBw:
        return "ACPCHBW";
    case DisplayCommand::AcpChannelBwQuery:
        return "ACPCHBW?";
    case DisplayCommand::AcpRefCenter:
        return "ACPREF";
    case DisplayCommand::AcpRefCenterQuery:
        return "ACPREF?";
    case DisplayCommand::AcpRefBw:
        return "ACPREFBW";
    case DisplayCommand::AcpRefBwQuery:
        return "ACPREFBW?";
    case DisplayCommand::ObwMode:
        return "OBWMODE";
    case DisplayCommand::ObwRatio:
        return "OBWRATIO";
    case DisplayCommand::ObwRatioQuery:
        return "OBWRATIO?";
    case DisplayCommand::ObwDb:
        return "OBWDB";
    case DisplayCommand::ObwDbQuery:
        return "OBWDB?";
    case DisplayCommand::EfAntenna:
        return "EFANT";
    case DisplayCommand::MfProbe:
        return "MFPROBE";
    }
    return "?";
}

ModalCloser::ModalCloser() : timer_(new QTimer) {
    QObject::connect(timer_, &QTimer::timeout, [closed = closed_] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
            ++*closed;
        }
    });
    timer_->start(10);
}

ModalCloser::~ModalCloser() {
    delete timer_;
}

int RecordingHost::Send(display::DisplayCommand command) {
    events.push_back({CommandName(command)});
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
            events.push_back({name});
}

std::vector<std::string> RecordingHost::Names() const {
    std::vector<std::string> names;
    for (const HostEvent& e : events)
        names.push_back(e.what);
    return names;
}

int RecordingHost::CountOf(const std::string& name) const {
    return static_cast<int>(std::count(events.begin(), events.end(), HostEvent{name}));
}

void DisplayFixture::SetUp() {
    EnsureApplication();
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
