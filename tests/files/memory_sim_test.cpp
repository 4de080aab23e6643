// The analyzer's memories against the simulated analyzer on a pseudo-terminal: recall, its
// "PARAM" wait and bad replies, the bulk save into numbered files, and erasing.

#include "memory_operations.h"
#include "qt_support.h"
#include "sim_port.h"
#include "trace_operations.h"

#include <gtest/gtest.h>

namespace {

using memory::RecallResult;
using orvel::test::SimPort;
using Strings = SimPort::Lines;
using End = traceops::BulkResult::End;

// Eight memories; short give-ups: the simulator answers at once or never.
bool Open(SimPort& sim) {
    orvel::test::EnsureQtApplication();
    return sim.open([] { gSettings.timeOutSetting = 30; });
}

Strings WithMemories(Strings options) {
    options.insert(options.begin(), {"--memories", "8"});
    return options;
}

TEST(MemorySim, RecallReadsTheNumberedMemoryAndSurvivesBadReplies) {
    {
        SimPort sim(WithMemories({}));
        ASSERT_TRUE(Open(sim)) << sim.error();
        gSettings.activeTraceSlot = 3;
        ASSERT_EQ(memory::RecallMemory(7), RecallResult::Recalled);
        EXPECT_EQ(sim.received("SRS"), Strings{"SRS07"});
        EXPECT_EQ(gSettings.traceRecord.memoryNumber, 7);
        EXPECT_EQ(gSettings.traceRecord.recordSpanIndex, 4 + 7 % 8);
        EXPECT_NE(gSettings.traceStore[3][100], 0) << "the active slot holds the recalled trace";
    }
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
        SimPort sim(WithMemories(c.fault));
        ASSERT_TRUE(Open(sim)) << sim.error();
        gSettings.traceRecord.recordCenterFreq = 42.0;
        EXPECT_EQ(memory::RecallMemory(2), c.expected) << c.fault[1];
        EXPECT_EQ(sim.received("SRS").size(), 1u);
        if (c.expected != RecallResult::Recalled) {
            EXPECT_EQ(gSettings.traceRecord.recordCenterFreq, 42.0) << "nothing taken";
        }
    }
}

TEST(MemorySim, BulkSaveWritesNumberedFilesAndSkipsEmptyMemories) {
    SimPort sim(WithMemories({"--memories", "2"}));
    ASSERT_TRUE(Open(sim)) << sim.error();
    orvel::test::TempFolder dir;
    const traceops::BulkResult result = traceops::SaveMemoryRange(0, 2, dir.path("x.csv"));
    EXPECT_EQ(result.end, End::Completed);
    EXPECT_EQ(sim.received("SRS"), (Strings{"SRS00", "SRS01", "SRS02"}));
    EXPECT_TRUE(QFile::exists(dir.path("x00.csv")));
    EXPECT_FALSE(QFile::exists(dir.path("x02.csv"))) << "memory 2 is empty";
    EXPECT_EQ(dir.read("x01.csv").count('\n'), 252);
    // The record goes to a .dat file as the analyzer gave it.
    EXPECT_EQ(traceops::SaveMemoryRange(1, 1, dir.path("y.dat")).written, 1);
    EXPECT_EQ(QFile(dir.path("y01.dat")).size(), 1104);
}

TEST(MemorySim, BulkSaveEndsOnSilenceOrAFailedWrite) {
    SimPort sim(WithMemories({"--fault", "drop:SRS#2"}));
    ASSERT_TRUE(Open(sim)) << sim.error();
    orvel::test::TempFolder dir;
    EXPECT_EQ(traceops::SaveMemoryRange(0, 5, dir.path("s.dat")).end, End::NoAnswer);
    EXPECT_EQ(sim.received("SRS"), (Strings{"SRS00", "SRS01"}));
    dir.write("file", "");
    EXPECT_EQ(traceops::SaveMemoryRange(3, 5, dir.path("file/s.dat")).end, End::WriteFailed);
    EXPECT_EQ(traceops::SaveMemoryRange(0, 1, dir.path("s.txt")).end, End::BadName);
    EXPECT_EQ(sim.received("SRS").size(), 3u)
        << "the failed write ends the run; a bad name sends nothing";
}

TEST(MemorySim, EraseSendsTheSpecifiedCommands) {
    const struct {
        int start, end, kind;
        Strings fault;
        Strings expected;
    } cases[] = {
        {3, 5, 3, {}, {"MCLRS4", "MCLRW4", "MCLRS5", "MCLRW5", "MCLRS6", "MCLRW6"}},
        {0, 99, 3, {}, {"MCLRSALL", "MCLRWALL"}}, // the trace alone: in the trace files test
        {7, 7, 2, {}, {"MCLRS8"}},
        // Refused every time: 11 refusals end the range; an "ALL" command goes 21 times.
        {0, 5, 1, {"--fault", "err:MCLRW"}, Strings(11, "MCLRW1")},
        {0, 99, 1, {"--fault", "err:MCLRWALL"}, Strings(21, "MCLRWALL")},
    };
    for (const auto& c : cases) {
        SimPort sim(WithMemories(c.fault));
        ASSERT_TRUE(Open(sim)) << sim.error();
        std::vector<int> positions;
        memory::EraseMemories(c.start, c.end, c.kind, [&positions](int position, const char*) {
            positions.push_back(position);
        });
        EXPECT_EQ(sim.received("MCLR"), c.expected) << c.start << ".." << c.end;
        EXPECT_FALSE(positions.empty());
    }
}

} // namespace
