// Soak run: the whole program, offscreen, against orvel-sim for a given time. The simulator is
// restarted now and then with a random mix of its faults (dropped, "ERR", garbage, stalled replies
// and hang-ups) while the live loop runs and a scripted user works the panel and the menu. At the
// end the program is closed, which writes its settings file, and the file is read back.
//
//   orvel-soak SECONDS [SEED]
//
// Reports: actions done, simulator restarts, the longest time the event loop did not run, the
// resident memory after the warm-up and at the end, and whether the settings file reads back
// clean. Exits 0 when there was no hang, memory grew by at most 5 % and the file is clean; a crash
// ends the process (the script reports its signal).

#include "app_session.h"
#include "control_panel.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "main_frame.h"
#include "main_menu.h"
#include "menu_ids.h"
#include "orvel_view.h"
#include "settings_text.h"
#include "sim_process.h"
#include "value_limits.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using orvel::test::SimProcess;

// A loop that stands still this long is a hang: the longest legitimate block is a stalled reply
// (3 s) on top of the long read time-outs.
constexpr int kHangSeconds = 60;

std::atomic<long long> gHeartbeatMs{0};
std::atomic<const char*> gLastAction{"start-up"};

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

// A random set of faults, each on some later reply.
std::vector<std::string> RandomFaults(std::mt19937& rng) {
    static const char* const kKinds[] = {"drop", "err", "garbage", "stall", "hangup"};
    static const char* const kWhats[] = {"SRSCURR", "SRSF",  "CAPT",    "MEASRES", "FREQ?", "SPAN?",
                                         "REF?",    "UNIT?", "OFFSET?", "RBW?",    "EMPTY", "FREQ",
                                         "SPAN",    "REF",   "CALC",    "SWEEP"};
    std::vector<std::string> args = {"--no-pace", "--stall-ms", "1500", "--seed",
                                     std::to_string(rng() % 1000)};
    const int count = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i) {
        std::string kind = kKinds[rng() % 5];
        // Hang-ups end the line: one now and then, late.
        if (kind == "hangup" && rng() % 3 != 0) {
            kind = "garbage";
        }
        std::string when;
        switch (rng() % 3) {
        case 0:
            when = std::string(kWhats[rng() % std::size(kWhats)]);
            break;
        case 1:
            when = std::string(kWhats[rng() % std::size(kWhats)]) + "#" +
                   std::to_string(1 + rng() % 20);
            break;
        default:
            when = "#" + std::to_string(20 + rng() % 400);
            break;
        }
        if (kind == "hangup" || kind == "stall") {
            when = "#" + std::to_string(50 + rng() % 400); // not every reply
        }
        args.push_back("--fault");
        args.push_back(kind + ":" + when);
    }
    return args;
}

void Choose(QComboBox* combo, std::mt19937& rng) {
    if (combo == nullptr || combo->count() == 0 || !combo->isEnabled()) {
        return;
    }
    const int index = static_cast<int>(rng() % static_cast<unsigned>(combo->count()));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void Type(QLineEdit* edit, const QString& text) {
    if (edit == nullptr || !edit->isEnabled()) {
        return;
    }
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

QString RandomNumber(std::mt19937& rng) {
    static const char* const kTexts[] = {"1.5G", "900M", "2.45G",  "100k", "-5", "0",   "3.3G",
                                         "1e12", "abc",  "-1e300", "12.3", "7",  "-40", "99999"};
    return QString::fromLatin1(kTexts[rng() % std::size(kTexts)]);
}

// A panel control by its object name; the soak cannot go on without it.
template <class W> W* Control(ControlPanel* panel, const char* name) {
    W* widget = panel->findChild<W*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        std::fprintf(stderr, "soak: the panel has no control named %s\n", name);
        std::abort();
    }
    return widget;
}

// One thing a user does.
void UserAction(CMainFrame* frame, std::mt19937& rng) {
    COrvelView* view = frame->view();
    ControlPanel* panel = view->panel();
    MainMenu* menu = frame->menu();
    switch (rng() % 14) {
    case 0:
    case 1:
        gLastAction = "hold/run";
        Control<QPushButton>(panel, "holdButton")->click();
        break;
    case 2:
        gLastAction = "centre";
        Type(Control<QLineEdit>(panel, "centerEdit"), RandomNumber(rng));
        break;
    case 3:
        gLastAction = "span";
        Choose(Control<QComboBox>(panel, "spanCombo"), rng);
        break;
    case 4:
        gLastAction = "reference";
        Type(Control<QLineEdit>(panel, "refLevelEdit"), RandomNumber(rng));
        break;
    case 5:
        gLastAction = "offset";
        Type(Control<QLineEdit>(panel, "offsetEdit"), RandomNumber(rng));
        break;
    case 6:
        gLastAction = "rbw/vbw";
        Choose(Control<QComboBox>(panel, rng() % 2 ? "rbwCombo" : "vbwCombo"), rng);
        break;
    case 7:
        gLastAction = "unit/scale";
        Choose(Control<QComboBox>(panel, rng() % 2 ? "unitCombo" : "scaleCombo"), rng);
        break;
    case 8:
        gLastAction = "sweep/detector";
        Choose(Control<QComboBox>(panel, rng() % 2 ? "sweepCombo" : "detectorCombo"), rng);
        break;
    case 9:
        gLastAction = "calc";
        Choose(Control<QComboBox>(panel, "calcCombo"), rng);
        break;
    case 10:
        gLastAction = "detailed trace";
        if (QAction* a = menu->action(menuid::kDetailedTrace)) {
            a->trigger();
        }
        break;
    case 11:
        gLastAction = "marker mode/impedance";
        Choose(Control<QComboBox>(panel, rng() % 2 ? "markerModeCombo" : "impedanceCombo"), rng);
        break;
    case 12:
        gLastAction = "all reading";
        if (QAction* a = menu->action(menuid::kAllReading)) {
            a->trigger();
        }
        break;
    default:
        gLastAction = "all setting";
        if (QAction* a = menu->action(menuid::kAllSetting)) {
            a->trigger();
        }
        break;
    }
}

// What one simulator saw: the screens it sent and the faults it played.
struct SimTally {
    long screens = 0;
    long faults = 0;
};
void Tally(const SimProcess& sim, SimTally* tally) {
    for (const auto& e : sim.logEntries()) {
        if (e.mark == '<' && (e.text == "SRSCURR" || e.text == "SRSF")) {
            ++tally->screens;
        }
        if (e.mark == '!') {
            for (const char* kind : {"drop ", "err ", "garbage ", "stall ", "hangup "}) {
                if (e.text.rfind(kind, 0) == 0) {
                    ++tally->faults;
                }
            }
        }
    }
}

// Runs the event loop for `ms` milliseconds.
void Run(int ms) {
    WaitUntil([] { return false; }, ms);
}

// The file written at exit, read into fresh defaults: every field in range, and writing it again
// gives the same text.
bool SettingsFileClean(const QString& path, std::string* why) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = "cannot be opened";
        return false;
    }
    const QByteArray text = file.readAll();
    std::memset(&gSettings, 0, sizeof gSettings);
    SetDefaultSettings();
    settingstext::ApplySettingsText(text.constData(), static_cast<std::size_t>(text.size()));
    const InstrumentSettings& s = gSettings;
    using namespace valuelimits;
    if (!inRange(s.refLevel, kRefLevelMin, kRefLevelMax) ||
        !inRange(s.levelOffset, kOffsetMin, kOffsetMax) ||
        !inRange(s.centerFreq, 0.0, kCenterFreqMax410) ||
        !inRange(s.spanIndex, 0, keywords::count(keywords::kSpan410) - 1)) {
        *why = "a value outside its range";
        return false;
    }
    if (settingstext::FormatSettingsText() != text.toStdString()) {
        *why = "writing it again gives another text";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvel-soak SECONDS [SEED]\n");
        return 2;
    }
    const int seconds = std::atoi(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 1u;
    std::mt19937 rng(seed);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    EnsureApplication();

    QTemporaryDir dir;
    const QString settingsPath = dir.path() + "/Orvel.ini";
    const std::string link = (dir.path() + "/com1").toStdString();
    QFile(settingsPath).open(QIODevice::WriteOnly); // an empty file: every default
    qputenv("ORVEL_COM1", QByteArray::fromStdString(link));

    auto startSim = [&] {
        std::vector<std::string> args = RandomFaults(rng);
        args.push_back("--link");
        args.push_back(link);
        return std::make_unique<SimProcess>(args);
    };
    std::unique_ptr<SimProcess> sim = startSim();
    if (!sim->started()) {
        std::fprintf(stderr, "the simulator did not start: %s\n", sim->error().c_str());
        return 2;
    }

    // Heartbeat from the event loop; a watchdog thread reports a loop that stands still.
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [] { gHeartbeatMs = NowMs(); });
    heartbeat.start(100);
    gHeartbeatMs = NowMs();
    std::atomic<bool> done{false};
    std::atomic<long long> longestStillMs{0};
    std::thread watchdog([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            const long long still = NowMs() - gHeartbeatMs;
            if (still > longestStillMs) {
                longestStillMs = still;
            }
            if (still > kHangSeconds * 1000LL) {
                std::fprintf(stderr, "HANG: the event loop stood still %lld ms during \"%s\"\n",
                             still, gLastAction.load());
                std::fflush(stderr);
                _exit(3);
            }
        }
    });

    ModalWatcher watcher; // answers the communication error boxes
    QPointer<CMainFrame> frame = new CMainFrame;
    frame->view()->setProgramDirectory(dir.path());
    frame->InitialUpdate();
    frame->show();
    WaitUntil([&] { return frame.isNull() || !frame->view()->startupPending(); });
    if (frame.isNull()) {
        std::fprintf(stderr, "the program closed at start-up\n");
        return 2;
    }

    const auto begin = Clock::now();
    const auto end = begin + std::chrono::seconds(seconds);
    const auto warmUp = begin + std::chrono::seconds(std::min(60, seconds / 10));
    long rssStart = -1;
    long actions = 0;
    SimTally tally;
    int restarts = 0;
    auto nextRestart = begin + std::chrono::seconds(30 + rng() % 60);
    while (Clock::now() < end && !frame.isNull()) {
        UserAction(frame, rng);
        ++actions;
        gLastAction = "live loop";
        Run(100 + static_cast<int>(rng() % 1500));
        if (rssStart < 0 && Clock::now() >= warmUp) {
            rssStart = ResidentKb();
        }
        if (Clock::now() >= nextRestart) {
            gLastAction = "simulator restart";
            Tally(*sim, &tally);
            sim.reset(); // first: an ending simulator removes its link
            sim = startSim();
            ++restarts;
            nextRestart = Clock::now() + std::chrono::seconds(30 + rng() % 60);
        }
    }
    const long rssEnd = ResidentKb();
    const bool alive = !frame.isNull();
    gLastAction = "close";
    if (alive) {
        frame->close();
        WaitUntil([&] { return frame.isNull(); }, 30000);
    }
    done = true;
    watchdog.join();
    Tally(*sim, &tally);

    std::string why;
    const bool clean = SettingsFileClean(settingsPath, &why);
    const double growth = rssStart > 0 ? 100.0 * (rssEnd - rssStart) / rssStart : 0.0;
    std::printf("soak: %d s, seed %u, %ld user actions, %d simulator restarts, %zu messages\n",
                seconds, seed, actions, restarts, watcher.messages().size());
    std::printf("soak: %ld screens sent to the program, %ld faults played\n", tally.screens,
                tally.faults);
    std::printf("soak: longest event-loop stand-still %lld ms (hang limit %d s): no hang\n",
                longestStillMs.load(), kHangSeconds);
    std::printf("soak: resident memory %ld kB after warm-up, %ld kB at the end (%+.1f %%)\n",
                rssStart, rssEnd, growth);
    std::printf("soak: program %s; settings file %s%s\n", alive ? "alive" : "CLOSED ITSELF",
                clean ? "reads back clean" : "NOT CLEAN: ", clean ? "" : why.c_str());
    return alive && clean && growth <= 5.0 ? 0 : 1;
}
