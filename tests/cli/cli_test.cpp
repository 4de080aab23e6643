// orvel-cli as a user runs it on the simulator, judged by output, files, status and wire log.

#include "child_process.h"
#include "qt_support.h"
#include "sim_process.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <tuple>
#include <unistd.h>

using orvel::test::SimProcess;

namespace {

orvel::test::ProcessResult Cli(const std::string& port, std::vector<std::string> args) {
    args.insert(args.begin(), {ORVEL_CLI_PATH, "--port", port});
    return orvel::test::RunProcess(args);
}

// The lines received by the simulator from line `from` on contain `needles` in this order.
bool ReceivedInOrder(const SimProcess& sim, const std::vector<std::string>& needles,
                     std::size_t from = 0) {
    const std::vector<std::string> all = sim.received();
    auto next = needles.begin();
    for (std::size_t i = from; i < all.size() && next != needles.end(); ++i)
        if (all[i] == *next)
            ++next;
    return next == needles.end();
}

} // namespace

TEST(CliTest, EachCommandSpeaksTheProgramsWireTextAndWritesItsFile) {
    orvel::test::TempFolder dir;
    SimProcess sim({"--no-pace", "--memories", "3"});
    ASSERT_TRUE(sim.started()) << sim.error();
    orvel::test::Ser2netProcess server(sim.devicePath());
    ASSERT_TRUE(server.started());
    const std::string d = dir.path().toStdString();
    // {arguments, in standard output, received in this order, through ser2net's TCP port}
    using Command =
        std::tuple<std::vector<std::string>, std::string, std::vector<std::string>, bool>;
    // clang-format off
    const Command commands[] = {
        {{"--timeout", "50", "info"}, "RVX410", {"VER"}, true},
        {{"trace", "--count", "2", "--csv", d + "/t.csv"}, "trace 2: 251 points", {"CALC?", "CAPT", "SRSCURR", "MEASRES", "CAPT", "SRSCURR", "MEASRES"}, true},
        {{"trace", "--detailed", "--dat", d + "/t.dat"}, "1001 points", {"CAPT", "SRSF"}, false},
        // At a short time-out the last COMP comes after the run: the next one must not trip on it.
        {{"--timeout", "35", "trace", "--detailed"}, "1001 points", {"CAPT", "SRSF"}, false},
        {{"memory", "recall", "1", "--csv", d + "/m.csv"}, "memory 1", {"SRS01"}, false},
        {{"memory", "save", "1-1", d}, "files written", {"SRS01"}, false},
        {{"--timeout", "50", "info", "--json"}, "\"version\":\"", {"", "FREQ?", "SPAN?", "VER", "REMOTE?"}, false},
        {{"set", "centre", "1.5G", "span", "1M", "reference", "-200"}, "reference -200: OK", {"FREQ1500000000.0000", "SPAN1M", "OFFSET?", "REF-60"}, false},
        {{"raw", "SPAN?"}, "1M", {"SPAN?"}, false},
        {{"memory", "erase", "0-99"}, "erased", {"MCLRSALL", "MCLRWALL"}, false},
        {{"hardcopy", d + "/h.png"}, "saved", {"PRT"}, false},
    };
    // clang-format on
    for (const auto& [args, out, received, viaSer2net] : commands) {
        const std::size_t before = sim.received().size();
        const auto r = Cli(viaSer2net ? server.url() : sim.devicePath(), args);
        SCOPED_TRACE(args[0] + " " + args[1]);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(out), std::string::npos) << r.out;
        EXPECT_TRUE(ReceivedInOrder(sim, received, before));
    }
    // The last trace's export, the detailed record, the recalled memory, the saved one, the
    // picture.
    EXPECT_EQ(std::tuple(dir.read("t.csv").count('\n'), QFile(dir.path("t.dat")).size(),
                         dir.read("m.csv").count('\n'), QFile(dir.path("trace01.dat")).size(),
                         QImage(dir.path("h.png")).size()),
              std::tuple(252, 1104, 252, 1104, QSize(352, 250)));
}

TEST(CliTest, EachFailureGivesItsMessageAndStatus) {
    orvel::test::TempFolder dir;
    const QString file = dir.write("plain-file", "");
    SimProcess sim({"--no-pace", "--fault", "err:FREQ"});
    ASSERT_TRUE(sim.started()) << sim.error();
    SimProcess mute({"--no-pace", "--fault", "drop"});
    ASSERT_TRUE(mute.started()) << mute.error();
    // A TCP port that accepts connections and never says a word.
    orvel::test::Ser2netProcess silent(mute.devicePath());
    ASSERT_TRUE(silent.started());
    SimProcess held({"--no-pace"});
    ASSERT_TRUE(held.started()) << held.error();
    const int holder = ::open(held.devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    const std::string ok = sim.devicePath();
    // {port, arguments, exit status, message}
    const std::tuple<std::string, std::vector<std::string>, int, std::string> cases[] = {
        {ok, {"frobnicate"}, 2, "unknown command frobnicate"},
        {ok, {"trace", "--bogus"}, 2, "unknown option --bogus"},
        {ok, {"set", "span", "7G"}, 2, "7G is not one of"},
        {ok, {"set", "centre", "fast"}, 2, "is not a number"},
        {ok, {"memory", "recall", "100"}, 2, "0..99"},
        {ok, {"hardcopy", dir.path("h.gif").toStdString()}, 2, ".png or .bmp"},
        {ok, {"raw", "HIDE"}, 2, "HIDE"},
        {file.toStdString(), {"info"}, 3, "is not a serial device"},
        {dir.path().toStdString(), {"info"}, 3, "is a directory"},
        {dir.path("none").toStdString(), {"info"}, 3, "no such device"},
        {"tcp://127.0.0.1:1", {"info"}, 3, "no connection"},
        {held.devicePath(), {"info"}, 3, "cannot be opened"},
        // Scaled-down time-outs: nothing answers either way.
        {mute.devicePath(), {"--timeout", "10", "info"}, 4, "no answer"},
        {silent.url(), {"--timeout", "10", "trace"}, 4, "no answer"},
        {ok, {"set", "centre", "1G"}, 5, "refused it (ERR)"},
        {ok, {"record", "--seconds", "5", "/dev/full"}, 6, "/dev/full"},
        {ok, {"record", "--seconds", "5", dir.path("no/such/dir.csv").toStdString()}, 6, "dir.csv"},
        {ok, {"trace", "--csv", "/proc/version"}, 6, "could not be written"},
    };
    for (const auto& [port, args, status, message] : cases) {
        const auto r = Cli(port, args);
        SCOPED_TRACE(port + " " + args[0]);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find("orvel-cli: "), std::string::npos);
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    ::close(holder);
}

TEST(CliTest, ARecordingCutByAHangUpKeepsItsWholeRowsWhichSplitIntoTraceFiles) {
    orvel::test::TempFolder dir;
    SimProcess sim({"--no-pace", "--fault", "cut:SRSCURR#3"});
    ASSERT_TRUE(sim.started()) << sim.error();
    const std::string path = dir.path("r.csv").toStdString();
    const auto r = Cli(sim.devicePath(), {"record", "--seconds", "30", path});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.err.find("did not come whole"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("2 traces recorded"), std::string::npos) << r.err;
    EXPECT_TRUE(ReceivedInOrder(sim, {"CAPT", "SRSCURR", "CAPT", "SRSCURR"}));
    const QList<QByteArray> rows = dir.read("r.csv").split('\n');
    ASSERT_EQ(rows.size(), 8 + 2 + 1) << "the cut third trace is not a row; each row ended";
    EXPECT_TRUE(rows[7].startsWith("Time,Center(Hz),Span,RBW,VBW,Reference,Unit"));
    for (int i = 8; i < 10; ++i) {
        EXPECT_EQ(rows[i].split(',').size(), 7 + 251);
        EXPECT_TRUE(rows[i].contains("T") && rows[i].contains("Z,1000000000,20M,"))
            << rows[i].toStdString();
    }
    // Split back, each row is a trace file of the export's form.
    const auto split = Cli(sim.devicePath(), {"split", path, dir.path("series").toStdString()});
    EXPECT_EQ(split.status, 0) << split.err;
    EXPECT_NE(split.out.find("2 trace files written"), std::string::npos) << split.out;
    const QList<QByteArray> first = dir.read("series/trace0001.csv").split('\n');
    ASSERT_EQ(first.size(), 253);
    EXPECT_EQ(first[0], "Frequency,Reference level(DBM)\r");
    EXPECT_EQ(first[1], "990.0000M," + rows[8].split(',')[7] + "\r");
    EXPECT_TRUE(QFile::exists(dir.path("series/trace0002.csv")));
}
