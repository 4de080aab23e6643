// The analyzer's memories against the simulated analyzer on a pseudo-terminal: recall, its
// "PARAM" wait and bad replies, the bulk save into numbered files, and erasing.

#include "instrument_settings.h"
#include "link_state.h"
#include "memory_operations.h"
#include "qt_test_app.h"
#include "serial_port.h"
#include "sim_process.h"
#include "trace_operations.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using memory::RecallResult;
using orvel::test::SimProcess;
using Strings = std::vector<std::string>;

class MemorySimTest : public ::testing::Test {
protected:
    void Start(Strings options) {
        EnsureQtApplication();
        ASSERT_TRUE(dir_.isValid());
        options.insert(options.begin(), {"--no-pace", "--memories", "8"});
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(sim_->started()) << sim_->error();
        qputenv("ORVEL_COM1", QByteArray::fromStdString(sim_->devicePath()));
        SetDefaultSettings();
        gSettings.timeOutSetting = 30; // short give-ups: the simulator answers at once or never
        CommPort(portop::kOpen);
        ASSERT_EQ(gLink.comHandle, 1);
        SetPortTimeouts(portprofile::kShort);
    }
    void TearDown() override { CommPort(portop::kClose); }
    // The commands received that begin with `prefix`.
    Strings Received(const std::string& prefix) const {
        Strings out;
        for (const std::string& line : sim_->received())
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    std::unique_ptr<SimProcess> sim_;
};

TEST_F(MemorySimTest, RecallReadsTheNumberedMemory) {
    Start({});
    gSettings.activeTraceSlot = 3;
    ASSERT_EQ(memory::RecallMemory(7), RecallResult::Recalled);
    EXPECT_EQ(Received("SRS"), Strings{"SRS07"});
    EXPECT_EQ(gSettings.traceRecord.memoryNumber, 7);
    EXPECT_EQ(gSettings.traceRecord.recordSpanIndex, 4 + 7 % 8);
    EXPECT_NE(gSettings.traceStore[3][100], 0) << "the active slot holds the recalled trace";
}

TEST_F(MemorySimTest, BadRepliesAreSurvived) {
    const struct {
        Strings fault;
        RecallResult expected;
    } cases[] = {
        {{"--fault", "garbage:SRS"}, RecallResult::Recalled},
        {{"--fault", "stall:SRS", "--stall-ms", "600"}, RecallResult::Recalled}, // split reply
        {{"--fault", "truncate:SRS"}, RecallResult::Truncated},
        {{"--fault", "drop:SRS"}, RecallResult::NoAnswer}, // seven tries, one command
    };
    for (const auto& c : cases) {
        Start(c.fault);
        gSettings.traceRecord.recordCenterFreq = 42.0;
        EXPECT_EQ(memory::RecallMemory(2), c.expected) << c.fault[1];
        EXPECT_EQ(Received("SRS").size(), 1u);
        if (c.expected != RecallResult::Recalled) {
            EXPECT_EQ(gSettings.traceRecord.recordCenterFreq, 42.0) << "nothing taken";
        }
        CommPort(portop::kClose);
    }
}

TEST_F(MemorySimTest, BulkSaveWritesNumberedFilesAndSkipsEmptyMemories) {
    Start({"--memories", "2"});
    const traceops::BulkResult result = traceops::SaveMemoryRange(0, 2, Path("x.csv"));
    EXPECT_EQ(result.end, traceops::BulkResult::End::Completed);
    EXPECT_EQ(Received("SRS"), (Strings{"SRS00", "SRS01", "SRS02"}));
    EXPECT_TRUE(QFile::exists(Path("x00.csv")));
    EXPECT_TRUE(QFile::exists(Path("x01.csv")));
    EXPECT_FALSE(QFile::exists(Path("x02.csv"))) << "memory 2 is empty";
    QFile csv(Path("x01.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count('\n'), 252);
    // The record goes to a .dat file as the analyzer gave it.
    EXPECT_EQ(traceops::SaveMemoryRange(1, 1, Path("y.dat")).written, 1);
    EXPECT_EQ(QFile(Path("y01.dat")).size(), 1104);
}

TEST_F(MemorySimTest, BulkSaveEndsOnSilenceOrAFailedWrite) {
    Start({"--fault", "drop:SRS#2"});
    traceops::BulkResult result = traceops::SaveMemoryRange(0, 5, Path("s.dat"));
    EXPECT_EQ(result.end, traceops::BulkResult::End::NoAnswer);
    EXPECT_EQ(Received("SRS"), (Strings{"SRS00", "SRS01"}));
    QFile(Path("file")).open(QIODevice::WriteOnly);
    result = traceops::SaveMemoryRange(3, 5, Path("file/s.dat"));
    EXPECT_EQ(result.end, traceops::BulkResult::End::WriteFailed);
    EXPECT_EQ(traceops::SaveMemoryRange(0, 1, Path("s.txt")).end,
              traceops::BulkResult::End::BadName);
    EXPECT_EQ(Received("SRS").size(), 3u)
        << "the failed write ends the run; a bad name sends nothing";
}

TEST_F(MemorySimTest, EraseSendsTheSpecifiedCommands) {
    const struct {
        int start, end, kind;
        Strings fault;
        Strings expected;
    } cases[] = {
        {3, 5, 3, {}, {"MCLRS4", "MCLRW4", "MCLRS5", "MCLRW5", "MCLRS6", "MCLRW6"}},
        {0, 99, 3, {}, {"MCLRSALL", "MCLRWALL"}},
        {0, 99, 1, {}, {"MCLRWALL"}},
        {7, 7, 2, {}, {"MCLRS8"}},
        // Refused every time: 11 refusals end the range; an "ALL" command goes 21 times.
        {0, 5, 1, {"--fault", "err:MCLRW"}, Strings(11, "MCLRW1")},
        {0, 99, 1, {"--fault", "err:MCLRWALL"}, Strings(21, "MCLRWALL")},
    };
    for (const auto& c : cases) {
        Start(c.fault);
        std::vector<int> positions;
        memory::EraseMemories(c.start, c.end, c.kind, [&positions](int position, const char*) {
            positions.push_back(position);
        });
        EXPECT_EQ(Received("MCLR"), c.expected) << c.start << ".." << c.end;
        EXPECT_FALSE(positions.empty());
        CommPort(portop::kClose);
    }
}

} // namespace
