// Shows the trace display with traces taken from the simulated analyzer and saves a picture of
// it: display_screenshot <file.png>. Run it under Xvfb (or offscreen) to look at the graph.

#include "cw_graph.h"
#include "instrument_settings.h"
#include "marker_panel.h"
#include "sim_session.h"
#include "trace_display.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstring>

namespace {

// One screen from the simulator into a trace slot; false when it did not come.
bool TakeScreen(simtest::SimSession& session, bool detailed, uint8_t* out) {
    if (!session.capture())
        return false;
    const simtest::DecodedRecord record = session.screen(detailed);
    const size_t wanted = detailed ? 1001 : 251;
    if (record.points.size() < wanted)
        return false;
    std::memcpy(out, record.points.data(), wanted);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "display.png";

    simtest::SimSession session({"--no-pace"});
    if (!session.ready()) {
        std::fprintf(stderr, "simulator not available\n");
        return 1;
    }
    SetDefaultSettings();
    gSettings.startingUp = 0;
    uint8_t earlier[1024] = {};
    if (!TakeScreen(session, false, earlier) ||
        !TakeScreen(session, true, gSettings.traceRecord.tracePoints)) {
        std::fprintf(stderr, "no screen from the simulator\n");
        return 1;
    }

    QWidget view;
    view.setWindowTitle(QStringLiteral("Orvel trace display"));
    view.resize(1266, 790);
    TraceDisplay display(&view, nullptr);
    display.ApplyColors();
    display.ApplySizeChange(view.width(), view.height());

    // Trace 2 holds an earlier normal screen, trace 1 the live detailed one.
    std::memcpy(gSettings.traceStore[2], earlier, 251);
    gSettings.traceKind[2] = tracekind::kSpectrum251;
    gSettings.traceView[2] = 1;
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    display.UpdateTraces(); // stores the live trace in trace 1's slot
    display.UpdateTraceVisibility();
    display.UpdateTraces();
    display.UpdateFrequencyLabels();
    display.UpdateMeasurementDisplay();
    display.Peak();
    display.SelectMarker(2);
    display.Markers()->marker2Freq->setText(QStringLiteral("998M"));
    display.CommitMarker2();
    display.SyncControls();

    view.show();
    QTimer::singleShot(300, [&] {
        const bool saved = view.grab().toImage().save(output);
        std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(output));
        app.exit(saved ? 0 : 1);
    });
    return app.exec();
}
