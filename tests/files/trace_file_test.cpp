// Trace files in a temporary folder: the 1104-byte record, its loading rules, the export. Then
// recall, bulk save and erase against the simulator, whose faults pick the replies by their count.

#include "instrument_settings.h"
#include "memory_operations.h"
#include "qt_support.h"
#include "sim_port.h"
#include "trace_file.h"
#include "trace_operations.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using tracefile::LoadResult;

TEST(TraceFileTest, SavedRecordHoldsEveryFieldAtItsOffsetOlderOnesLoadConvertedNamesDecideTheType) {
    const orvel::test::TempFolder dir;
    SetDefaultSettings();
    InstrumentSettings& s = gSettings;
    std::tie(s.centerFreq, s.spanIndex, s.refLevel, s.rbwIndex, s.vbwIndex, s.sweepIndex,
             s.detectorIndex, s.scaleIndex, s.detailedTrace, s.modelIndex) =
        std::tuple(1.5e9, 9, -20, 5, 6, 3, 2, 0, 1, 1);
    TraceRecord& r = s.traceRecord; // 1023: the last point byte, before 32 reserved ones
    std::tie(r.memoryNumber, r.tracePoints[0], r.tracePoints[1000], r.tracePoints[1023]) =
        std::tuple(0x1234, 0xAB, 0xCD, 0xEF);
    // Saving over a longer file leaves exactly the record.
    const QString path = dir.write("t.dat", QByteArray(5000, 'x'));
    ASSERT_EQ(traceops::SaveTraceTo(path), traceops::SaveResult::Saved);
    const QByteArray b = dir.read("t.dat");
    ASSERT_EQ(b.size(), 1104);
    auto at = [&b](int offset, auto value) {
        std::memcpy(&value, b.constData() + offset, sizeof value);
        return value;
    };
    auto i32 = [&at](int offset) { return at(offset, int32_t{}); };
    auto u8 = [&b](int offset) { return static_cast<uint8_t>(b[offset]); };
    EXPECT_EQ(at(8, 0.0), 1.5e9);
    // Memory number, RVX420 code, model bits, then span .. kind (detailed spectrum) and points.
    EXPECT_EQ(
        std::vector<int>({u8(0), u8(1), b[2], i32(4) & 0x1F0, i32(16), i32(20), i32(24), i32(28),
                          i32(32), i32(36), i32(40), i32(44), u8(48), u8(1048), u8(1071)}),
        std::vector<int>({0x34, 0x12, 3, 1 << 4, 9, -20, 5, 6, 3, 2, 0, 1, 0xAB, 0xCD, 0xEF}));
    TraceRecord loaded{};
    ASSERT_EQ(tracefile::LoadRecordFile(path, 1, &loaded), LoadResult::Loaded);
    EXPECT_EQ(tracefile::EncodeRecord(loaded), b);
    // An older layout loads as RVX410, its unit from its kind (dBmV) over stale bits.
    for (int8_t code : {0, 1}) {
        TraceRecord old{};
        std::tie(old.modelCode, old.recordUnitBits, old.recordKind) = std::tuple(code, 0x1F3u, 34);
        ASSERT_EQ(tracefile::LoadRecordFile(dir.write("old.dat", tracefile::EncodeRecord(old)), 0,
                                            &loaded),
                  LoadResult::Loaded);
        EXPECT_EQ(std::tuple(loaded.modelCode, loaded.recordUnitBits), std::tuple(2, 2u));
    }
    ASSERT_EQ(traceops::SaveTraceTo(dir.path("plain")), traceops::SaveResult::Saved);
    EXPECT_EQ(dir.read("plain.dat").size(), 1104) << "no extension gets .dat";
    EXPECT_EQ(traceops::SaveTraceTo(dir.path("t.txt")), traceops::SaveResult::BadName);
    EXPECT_EQ(traceops::SaveTraceTo(dir.path("t.DAT")), traceops::SaveResult::BadName);
    EXPECT_FALSE(QFile::exists(dir.path("t.txt")));
    // A folder that cannot hold the file (its parent is a plain file): refused, nothing left.
    dir.write("notdir", "x");
    EXPECT_EQ(traceops::SaveTraceTo(dir.path("notdir/t.dat")), traceops::SaveResult::WriteFailed);
    EXPECT_EQ(tracefile::MemoryFileName(QStringLiteral("C:\\data\\trace.dat"), 5),
              QStringLiteral("C:\\data\\trace05.dat"));
}

TEST(TraceFileTest, BadFilesLoadNothing) {
    const orvel::test::TempFolder dir;
    TraceRecord good{};
    good.modelCode = 2;
    const QByteArray goodBytes = tracefile::EncodeRecord(good);
    auto with = [&goodBytes](int offset, auto value) {
        QByteArray b = goodBytes;
        std::memcpy(b.data() + offset, &value, sizeof value);
        return b;
    };
    QByteArray garbage(1104, '\0');
    QRandomGenerator(11).fillRange(reinterpret_cast<quint32*>(garbage.data()), 1104 / 4);
    const std::tuple<const char*, QByteArray> cases[] = {
        // clang-format off
        {"empty.dat", {}}, {"short.dat", goodBytes.left(1103)},
        {"big.dat", QByteArray(2 * 1024 * 1024, '\0')}, {"garbage.dat", garbage},
        {"rbw.dat", with(24, 8)}, {"vbw.dat", with(28, -1)}, {"sweep.dat", with(32, 8)},
        {"det.dat", with(36, 3)}, {"scale.dat", with(40, 2)}, {"kind.dat", with(44, 3)},
        {"unit.dat", with(4, 6)}, {"ref.dat", with(20, 2147483647)},
        {"ref_low.dat", with(20, -1001)}, {"center.dat", with(8, 1e308)},
        // clang-format on
    };
    for (const auto& [name, bytes] : cases) {
        TraceRecord record{};
        record.recordCenterFreq = 42.0;
        EXPECT_EQ(tracefile::LoadRecordFile(dir.write(name, bytes), 0, &record),
                  LoadResult::ReadFailed)
            << name;
        EXPECT_EQ(record.recordCenterFreq, 42.0) << name;
    }
    TraceRecord record{};
    EXPECT_EQ(tracefile::LoadRecordFile(dir.write("a.csv", goodBytes), 0, &record),
              LoadResult::NotADatName);
}

TEST(TraceFileTest, ExportRowsTimeAxisAndLevels) {
    const orvel::test::TempFolder dir;
    SetDefaultSettings();
    InstrumentSettings& s = gSettings;
    std::tie(s.refLevel, s.levelOffset, s.scaleIndex, s.detailedTrace) = std::tuple(-10, 2.6, 1, 0);
    std::tie(s.traceRecord.tracePoints[0], s.traceRecord.tracePoints[125]) = std::tuple(150, 100);
    // 251 points: trunc(-7.4) = -7; byte 150 is 50 steps of 0.4 dB below.
    ASSERT_EQ(traceops::SaveTraceTo(dir.path("n.csv")), traceops::SaveResult::Saved);
    QList<QByteArray> lines = dir.read("n.csv").split('\n');
    ASSERT_EQ(lines.size(), 253) << "252 lines, each ended";
    EXPECT_EQ(lines.last(), "");
    EXPECT_EQ(lines[0], "Frequency,Reference level(DBM)\r");
    EXPECT_EQ(lines[1], "990.0000M,-27.00\r") << "1 GHz - 125 x 80 kHz, -7 - 20 dB";
    // 1001 points: round(-7.4) = -7 against byte 201; 2 dB/div steps of 0.08 dB.
    std::tie(s.detailedTrace, s.scaleIndex) = std::tuple(1, 0);
    ASSERT_EQ(traceops::SaveTraceTo(dir.path("d.csv")), traceops::SaveResult::Saved);
    lines = dir.read("d.csv").split('\n');
    ASSERT_EQ(lines.size(), 1003);
    EXPECT_EQ(lines[1], "990.0000M,-11.08\r") << "-7 - 51 x 0.08 dB";
    // Zero span: time from 0 to T, T/2 at point 125.
    std::tie(s.detailedTrace, s.spanIndex, s.sweepIndex) = std::tuple(0, 0, 4); // sweep 1 s
    ASSERT_EQ(traceops::SaveTraceTo(dir.path("z.csv")), traceops::SaveResult::Saved);
    lines = dir.read("z.csv").split('\n');
    ASSERT_EQ(lines.size(), 253);
    EXPECT_EQ(QList<QByteArray>({lines[1].left(7), lines[126].left(10), lines[251].left(7)}),
              QList<QByteArray>({"0.0000,", "500.0000m,", "1.0000,"}));
}

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
        EXPECT_EQ(gSettings.traceRecord.recordCenterFreq != 42.0,
                  expected == RecallResult::Recalled)
            << fault << ": a record is taken only when recalled";
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
