// Recall, bulk save and erase against the simulator; its faults pick the replies by their count.

#include "memory_operations.h"
#include "qt_support.h"
#include "sim_port.h"
#include "trace_operations.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

namespace {

using memory::RecallResult;
using orvel::test::SimPort;
using Strings = SimPort::Lines;
using End = traceops::BulkResult::End;

// Short give-ups: the simulator answers at once or never.
bool Open(SimPort& sim) {
    orvel::test::EnsureQtApplication();
    return sim.open([] { gSettings.timeOutSetting = 10; });
}

TEST(MemorySim, RecallReadsTheNumberedMemoryAndSurvivesBadReplies) {
    SimPort sim({"--memories", "8", "--fault", "garbage:SRS#1", "--fault", "stall:SRS#2",
                 "--stall-ms", "600", "--fault", "truncate:SRS#3", "--fault", "drop:SRS#4"});
    ASSERT_TRUE(Open(sim)) << sim.error();
    gSettings.activeTraceSlot = 3;
    ASSERT_EQ(memory::RecallMemory(7), RecallResult::Recalled) << "line noise before the reply";
    EXPECT_EQ(sim.received("SRS"), Strings{"SRS07"});
    EXPECT_EQ(std::tuple(gSettings.traceRecord.memoryNumber, gSettings.traceRecord.recordSpanIndex),
              std::tuple(7, 4 + 7 % 8));
    EXPECT_NE(gSettings.traceStore[3][100], 0) << "the active slot holds the recalled trace";
    const std::tuple<const char*, RecallResult> cases[] = {
        {"stall (a split reply)", RecallResult::Recalled},
        {"truncate", RecallResult::Truncated},
        {"drop (seven tries, one command)", RecallResult::NoAnswer},
    };
    for (const auto& [fault, expected] : cases) {
        const std::size_t before = sim.received("SRS").size();
        gSettings.traceRecord.recordCenterFreq = 42.0;
        EXPECT_EQ(memory::RecallMemory(2), expected) << fault;
        EXPECT_EQ(sim.received("SRS").size(), before + 1) << fault;
        if (expected != RecallResult::Recalled) {
            EXPECT_EQ(gSettings.traceRecord.recordCenterFreq, 42.0) << "nothing taken";
        }
    }
}

// Memories 0 and 1 hold screens; the fifth memory read goes unanswered.
TEST(MemorySim, BulkSaveWritesNumberedFilesAndEndsOnSilenceOrAFailedWrite) {
    SimPort sim({"--memories", "2", "--fault", "drop:SRS#5"});
    ASSERT_TRUE(Open(sim)) << sim.error();
    orvel::test::TempFolder dir;
    const traceops::BulkResult csv = traceops::SaveMemoryRange(1, 2, dir.path("x.csv"));
    EXPECT_EQ(std::tuple(csv.end, csv.written, csv.skipped), std::tuple(End::Completed, 1, 1));
    EXPECT_EQ(dir.read("x01.csv").count('\n'), 252);
    EXPECT_FALSE(QFile::exists(dir.path("x02.csv"))) << "memory 2 is empty";
    // The record goes to a .dat file as the analyzer gave it.
    EXPECT_EQ(traceops::SaveMemoryRange(0, 0, dir.path("y.dat")).written, 1);
    EXPECT_EQ(QFile(dir.path("y00.dat")).size(), 1104);
    dir.write("file", "");
    EXPECT_EQ(traceops::SaveMemoryRange(0, 5, dir.path("file/s.dat")).end, End::WriteFailed);
    EXPECT_EQ(traceops::SaveMemoryRange(0, 1, dir.path("s.txt")).end, End::BadName);
    EXPECT_EQ(traceops::SaveMemoryRange(1, 5, dir.path("s.dat")).end, End::NoAnswer);
    EXPECT_EQ(sim.received("SRS"), (Strings{"SRS01", "SRS02", "SRS00", "SRS00", "SRS01"}))
        << "a failed write or silence ends the run; a bad name sends nothing";
}

TEST(MemorySim, EraseSendsTheSpecifiedCommands) {
    // {start, end, kind, the commands sent}, on a simulator that agrees and on one that refuses
    // every time: 11 refusals end the range; an "ALL" command goes 21 times.
    using Cases = std::vector<std::tuple<int, int, int, Strings>>;
    // clang-format off
    const std::pair<Strings, Cases> runs[] = {
        {{}, {{3, 5, 3, {"MCLRS4", "MCLRW4", "MCLRS5", "MCLRW5", "MCLRS6", "MCLRW6"}},
              {0, 99, 3, {"MCLRSALL", "MCLRWALL"}}, // the trace alone: in the trace files test
              {7, 7, 2, {"MCLRS8"}}}},
        {{"--fault", "err:MCLRW", "--fault", "err:MCLRWALL"},
         {{0, 5, 1, Strings(11, "MCLRW1")}, {0, 99, 1, Strings(21, "MCLRWALL")}}},
    };
    // clang-format on
    for (const auto& [options, cases] : runs) {
        SimPort sim(options);
        ASSERT_TRUE(Open(sim)) << sim.error();
        for (const auto& [start, end, kind, expected] : cases) {
            const std::size_t before = sim.received("MCLR").size();
            std::vector<int> positions;
            memory::EraseMemories(start, end, kind, [&positions](int position, const char*) {
                positions.push_back(position);
            });
            const Strings all = sim.received("MCLR");
            EXPECT_EQ(Strings(all.begin() + static_cast<long>(before), all.end()), expected)
                << start << ".." << end;
            EXPECT_FALSE(positions.empty());
        }
    }
}

} // namespace
