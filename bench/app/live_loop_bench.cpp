// How well the window answers while the live trace runs: the real program, offscreen, against
// the simulated analyzer paced at the chosen baud rate, running (capture mode), with a 5 ms probe
// timer that records how late each of its ticks fires. Reports the longest stall and the 99th
// percentile of the lateness, and the live trace period against the line's limit (the capture's
// sweep plus the wire time of every reply of a cycle), for 251 and 1001 points.
//
//   bench_live_loop [--seconds S] [--baud N]... [--points 251|1001]...
//
// It uses nothing but the program's window and the simulator's wire log, so the same source
// measures any version of the program.

#include "app_session.h"
#include "control_panel.h"
#include "main_frame.h"
#include "orvel_view.h"
#include "sim_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kProbeMs = 5;
constexpr double kSweepSeconds = 0.1; // the analyzer's sweep after its power-on settings

struct Result {
    bool ok = false;
    double longestStallMs = 0;
    double p99Ms = 0;
    int ticks = 0;
    double periodMs = 0;
    double limitMs = 0;
    int cycles = 0;
};

int BaudIndex(int baud) {
    const int rates[] = {2400, 4800, 9600, 19200, 38400, 57600};
    for (int i = 0; i < 6; ++i) {
        if (rates[i] == baud) {
            return i;
        }
    }
    return 3;
}

Result Measure(int baud, int points, double seconds) {
    Result r;
    AppSession session;
    QByteArray settings = "Baud rate : " + QByteArray::number(BaudIndex(baud)) + "\r\n";
    settings += "Detailed trace : " + QByteArray(points == 1001 ? "1" : "0") + "\r\n";
    session.settingsFile = settings;
    session.simArgs = {QStringLiteral("--baud"), QString::number(baud)};
    if (!session.start() || !session.frameAlive()) {
        std::fprintf(stderr, "the program or the simulator did not start\n");
        return r;
    }
    session.view()->panel()->findChild<QPushButton*>("holdButton")->click(); // running from here on
    const double simStart =
        session.sim()->logEntries().empty() ? 0 : session.sim()->logEntries().back().seconds;

    // Lateness of each probe tick against the previous one.
    std::vector<double> lateness;
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        lateness.push_back(std::max(0.0, (now - last) / 1e6 - kProbeMs));
        last = now;
    });
    probe.start(kProbeMs);
    // The program's own event loop, as main() runs it.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    probe.stop();

    // The screen requests and what the analyzer sent between them, from the wire log.
    const auto log = session.sim()->logEntries();
    session.close();
    std::vector<double> requests;
    std::vector<double> replyBytes;
    double bytes = 0;
    for (const auto& e : log) {
        if (e.seconds < simStart) {
            continue;
        }
        if (e.mark == '<' && (e.text == "SRSCURR" || e.text == "SRSF")) {
            if (!requests.empty()) {
                replyBytes.push_back(bytes);
            }
            requests.push_back(e.seconds);
            bytes = 0;
        } else if (e.mark == '>' && !requests.empty()) {
            bytes += static_cast<double>(orvel::test::SimProcess::unescape(e.text).size());
        }
    }
    if (requests.size() < 3 || lateness.empty()) {
        std::fprintf(stderr, "too few cycles (%zu) in %.0f s\n", requests.size(), seconds);
        return r;
    }
    std::sort(lateness.begin(), lateness.end());
    r.ticks = static_cast<int>(lateness.size());
    r.longestStallMs = lateness.back();
    r.p99Ms = lateness[static_cast<size_t>(0.99 * (lateness.size() - 1))];
    r.cycles = static_cast<int>(requests.size()) - 1;
    r.periodMs = (requests.back() - requests.front()) * 1000.0 / r.cycles;
    double sum = 0;
    for (double b : replyBytes) {
        sum += b;
    }
    r.limitMs = (kSweepSeconds + sum / replyBytes.size() * 10.0 / baud) * 1000.0;
    r.ok = true;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 12;
    std::vector<int> bauds;
    std::vector<int> pointCounts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--baud") == 0 && i + 1 < argc) {
            bauds.push_back(std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--points") == 0 && i + 1 < argc) {
            pointCounts.push_back(std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: %s [--seconds S] [--baud N]... [--points 251|1001]...\n",
                         argv[0]);
            return 2;
        }
    }
    if (bauds.empty()) {
        bauds = {19200, 9600};
    }
    if (pointCounts.empty()) {
        pointCounts = {251, 1001};
    }
    if (seconds < 3) {
        seconds = 3;
    }
    EnsureApplication();
    std::printf("%6s %6s %10s %8s %7s %10s %10s %7s %7s\n", "baud", "points", "stall_ms", "p99_ms",
                "ticks", "period_ms", "limit_ms", "ratio", "cycles");
    int failures = 0;
    for (int baud : bauds) {
        for (int points : pointCounts) {
            const Result r = Measure(baud, points, seconds);
            if (!r.ok) {
                ++failures;
                continue;
            }
            std::printf("%6d %6d %10.1f %8.1f %7d %10.1f %10.1f %7.3f %7d\n", baud, points,
                        r.longestStallMs, r.p99Ms, r.ticks, r.periodMs, r.limitMs,
                        r.periodMs / r.limitMs, r.cycles);
            std::fflush(stdout);
        }
    }
    return failures == 0 ? 0 : 1;
}
