// orvel-cli as a user runs it: a process on the simulated analyzer's pseudo-terminal (or through
// ser2net), judged by its output, its files, its status and the simulator's wire log.

#include "child_process.h"
#include "sim_process.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <unistd.h>

using orvel::test::ProcessResult;
using orvel::test::RunProcess;
using orvel::test::SimProcess;

namespace {

ProcessResult Cli(const std::string& port, std::vector<std::string> args) {
    args.insert(args.begin(), {ORVEL_CLI_PATH, "--port", port});
    return RunProcess(args);
}

// The lines received by the simulator from line `from` on contain `needles` in this order.
bool ReceivedInOrder(const SimProcess& sim, const std::vector<std::string>& needles,
                     std::size_t from = 0) {
    const std::vector<std::string> all = sim.received();
    size_t next = 0;
    for (std::size_t i = from; i < all.size(); ++i) {
        if (next < needles.size() && all[i] == needles[next]) {
            ++next;
        }
    }
    return next == needles.size();
}

QList<QByteArray> Lines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

} // namespace

TEST(CliTest, EachCommandSpeaksTheProgramsWireText) {
    QTemporaryDir dir;
    SimProcess sim({"--no-pace", "--memories", "3"});
    ASSERT_TRUE(sim.started()) << sim.error();
    const std::string d = dir.path().toStdString();
    struct Case {
        std::vector<std::string> args;
        std::string out;                   // in standard output
        std::vector<std::string> received; // the simulator received these, in order
        std::string file;                  // written, non-empty
    };
    const Case cases[] = {
        {{"info", "--json"}, "\"version\":\"", {"", "FREQ?", "SPAN?", "VER", "REMOTE?"}, ""},
        {{"set", "centre", "1.5G", "span", "1M", "reference", "-200"},
         "reference -200: OK",
         {"FREQ1500000000.0000", "SPAN1M", "OFFSET?", "REF-60"},
         ""},
        {{"trace", "--count", "2", "--csv", d + "/t.csv"},
         "trace 2: 251 points",
         {"CALC?", "CAPT", "SRSCURR", "MEASRES", "CAPT", "SRSCURR", "MEASRES"},
         d + "/t.csv"},
        {{"trace", "--detailed", "--dat", d + "/t.dat"},
         "1001 points",
         {"CAPT", "SRSF"},
         d + "/t.dat"},
        {{"hardcopy", d + "/h.png"}, "saved", {"PRT"}, d + "/h.png"},
        {{"memory", "recall", "1", "--csv", d + "/m.csv"}, "memory 1", {"SRS01"}, d + "/m.csv"},
        {{"memory", "save", "0-2", d},
         "files written",
         {"SRS00", "SRS01", "SRS02"},
         d + "/trace01.dat"},
        {{"memory", "erase", "0-99"}, "erased", {"MCLRSALL", "MCLRWALL"}, ""},
        {{"raw", "SPAN?"}, "1M", {"SPAN?"}, ""},
        {{"record", "--seconds", "1", d + "/r.csv"},
         "traces recorded",
         {"CAPT", "SRSCURR"},
         d + "/r.csv"},
        {{"split", d + "/r.csv", d + "/series"},
         "trace files written",
         {},
         d + "/series/trace0001.csv"},
    };
    for (const Case& c : cases) {
        const std::size_t before = sim.received().size();
        const ProcessResult r = Cli(sim.devicePath(), c.args);
        SCOPED_TRACE(c.args[0] + " " + (c.args.size() > 1 ? c.args[1] : ""));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_TRUE(ReceivedInOrder(sim, c.received, before));
        if (!c.file.empty()) {
            EXPECT_GT(QFile(QString::fromStdString(c.file)).size(), 0) << c.file;
        }
    }
    // The files are the program's own formats.
    EXPECT_EQ(Lines(dir.filePath("t.csv")).value(0), "Frequency,Reference level(DBM)\r");
    EXPECT_EQ(Lines(dir.filePath("t.csv")).size(), 252);
    EXPECT_EQ(QFile(dir.filePath("t.dat")).size(), 1104);
    EXPECT_EQ(QImage(dir.filePath("h.png")).size(), QSize(352, 250));
    const QList<QByteArray> rows = Lines(dir.filePath("r.csv"));
    ASSERT_GE(rows.size(), 9);
    EXPECT_TRUE(rows[7].startsWith("Time,Center(Hz),Span,RBW,VBW,Reference,Unit"));
    EXPECT_EQ(rows[8].split(',').size(), 7 + 251);
    EXPECT_TRUE(rows[8].contains("T") && rows[8].contains("Z,1500000000,1M,"));
    // Split back, each row is a trace file of the export's form.
    const QList<QByteArray> first = Lines(dir.filePath("series/trace0001.csv"));
    ASSERT_EQ(first.size(), 252);
    EXPECT_EQ(first[0], "Frequency,Reference level(DBM)\r");
    EXPECT_EQ(first[1], "1.4995G," + rows[8].split(',')[7] + "\r");
}

TEST(CliTest, EachFailureGivesItsMessageAndStatus) {
    QTemporaryDir dir;
    const QString file = dir.filePath("plain-file");
    QFile(file).open(QIODevice::WriteOnly);
    // Something that accepts connections and never says a word.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(silent, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    socklen_t length = sizeof a;
    ::getsockname(silent, reinterpret_cast<sockaddr*>(&a), &length);
    ::listen(silent, 4);
    const std::string silentUrl = "tcp://127.0.0.1:" + std::to_string(ntohs(a.sin_port));

    SimProcess sim({"--no-pace", "--fault", "err:FREQ"});
    ASSERT_TRUE(sim.started()) << sim.error();
    SimProcess mute({"--no-pace", "--fault", "drop"});
    ASSERT_TRUE(mute.started()) << mute.error();
    SimProcess held({"--no-pace"});
    ASSERT_TRUE(held.started()) << held.error();
    const int holder = ::open(held.devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);

    const std::string ok = sim.devicePath();
    struct Case {
        std::string port;
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {ok, {"frobnicate"}, 2, "unknown command frobnicate"},
        {ok, {"trace", "--bogus"}, 2, "unknown option --bogus"},
        {ok, {"set", "span", "7G"}, 2, "7G is not one of"},
        {ok, {"set", "centre", "fast"}, 2, "is not a number"},
        {ok, {"memory", "recall", "100"}, 2, "0..99"},
        {ok, {"hardcopy", dir.filePath("h.gif").toStdString()}, 2, ".png or .bmp"},
        {ok, {"raw", "HIDE"}, 2, "HIDE"},
        {file.toStdString(), {"info"}, 3, "is not a serial device"},
        {dir.path().toStdString(), {"info"}, 3, "is a directory"},
        {dir.filePath("none").toStdString(), {"info"}, 3, "no such device"},
        {"tcp://127.0.0.1:1", {"info"}, 3, "no connection"},
        {held.devicePath(), {"info"}, 3, "cannot be opened"},
        {mute.devicePath(), {"info"}, 4, "no answer"},
        {silentUrl, {"trace"}, 4, "no answer"},
        {ok, {"set", "centre", "1G"}, 5, "refused it (ERR)"},
        {ok, {"record", "--seconds", "5", "/dev/full"}, 6, "/dev/full"},
        {ok,
         {"record", "--seconds", "5", dir.filePath("no/such/dir.csv").toStdString()},
         6,
         "dir.csv"},
        {ok, {"trace", "--csv", "/proc/version"}, 6, "could not be written"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Cli(c.port, c.args);
        SCOPED_TRACE(c.port + " " + c.args[0]);
        EXPECT_FALSE(r.timedOut);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find("orvel-cli: "), std::string::npos);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    ::close(holder);
    ::close(silent);
}

TEST(CliTest, ARecordingCutByAHangUpKeepsItsWholeRows) {
    QTemporaryDir dir;
    SimProcess sim({"--no-pace", "--fault", "cut:SRSCURR#3"});
    ASSERT_TRUE(sim.started()) << sim.error();
    const QString path = dir.filePath("r.csv");
    const ProcessResult r =
        Cli(sim.devicePath(), {"record", "--seconds", "30", path.toStdString()});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.err.find("did not come whole"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("2 traces recorded"), std::string::npos) << r.err;
    const QList<QByteArray> rows = Lines(path);
    ASSERT_EQ(rows.size(), 8 + 2) << "the cut third trace is not a row";
    for (int i = 8; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].split(',').size(), 7 + 251);
    }
}

TEST(CliTest, Ser2netCarriesTheToolToTheAnalyzer) {
    SimProcess sim({"--no-pace"});
    ASSERT_TRUE(sim.started()) << sim.error();
    orvel::test::Ser2netProcess server(sim.devicePath());
    ASSERT_TRUE(server.started());
    const ProcessResult info = Cli(server.url(), {"info"});
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("RVX410"), std::string::npos);
    const ProcessResult trace = Cli(server.url(), {"trace", "--count", "2"});
    EXPECT_EQ(trace.status, 0) << trace.err;
    EXPECT_TRUE(ReceivedInOrder(sim, {"VER", "CAPT", "SRSCURR", "CAPT", "SRSCURR"}));
}
