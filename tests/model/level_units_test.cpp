#include "instrument_settings.h"
#include "level_units.h"
#include "number_text.h"
#include "user_correction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>

namespace {

using levelunits::roundReference;

// Expected field references below come from an independent model of the computation.
class LevelUnits : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        gSettings.centerFreq = 900e6;
        gSettings.spanIndex = 10; // "200M": 800 MHz to 1 GHz on the axis
    }
    static void setUserAntenna(std::initializer_list<int> freq, std::initializer_list<int> gain) {
        std::copy(freq.begin(), freq.end(), gSettings.efUserFreq);
        std::copy(gain.begin(), gain.end(), gSettings.efUserGain);
    }
    static int Antenna(int antenna) {
        computeAntennaReference(antenna);
        return gSettings.fieldRefLevel;
    }
    static int Probe(int probe) {
        computeProbeReference(probe);
        return gSettings.fieldRefLevel;
    }
    static void setUserProbe(std::initializer_list<int> freq, std::initializer_list<int> gain) {
        std::copy(freq.begin(), freq.end(), gSettings.mfUserFreq);
        std::copy(gain.begin(), gain.end(), gSettings.mfUserGain);
    }
};

TEST(ReferenceRounding, HalvesGoAwayFromZeroAndExtremesSaturate) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double cases[][3] = {
        {0, -0.5, -1},    {0, 0.5, 1},  {10, 0.4, 10},          {-10, -0.4, -10},
        {-10, -0.5, -11}, {0, -0.4, 0}, {1e300, 0, 2147483647}, {-1e300, 0, -2147483648.0},
        {10, nan, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundReference(c[0], c[1]), c[2]) << c[0] << " " << c[1];
    }
}

TEST(Attenuator, StepsAtTheBandEdges) {
    // Above the range reads as its top.
    // clang-format off
    const int cases[][2] = {{10, 25}, {-15, 0}, {-16, 20}, {-35, 1}, {-36, 5}, {-40, 1},
                            {-41, kAttenuatorSoftwareAmp}, {-2000000000, kAttenuatorSoftwareAmp},
                            {2147483647, 75}};
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(attenuatorForReference(c[0]), c[1]) << c[0];
    }
    EXPECT_EQ(attenuatorText(-41), "S/W AMP");
    EXPECT_EQ(attenuatorText(-16), "20");
}

// The impedance adds 1.8 dB before rounding, the offset counts by its whole part in tenths; no
// point inside the table (a centre off every axis, a damaged span) gives 810 or 917. Spans 0..2
// step below 1 kHz (every point at the start); an unknown antenna (9) counts as AT11.
TEST_F(LevelUnits, BuiltInAntennaAndProbeReferences) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // clang-format off
    const std::tuple<bool, int, double, int, int, int, double, int, int> cases[] = {
        {false, 0, 900e6, 10, 0, 1, 0, 10, 143}, {false, 0, 900e6, 10, 1, 1, 0, 10, 145},
        {false, 0, 900e6, 10, 0, 0, 0, 10, 143}, {false, 0, 900e6, 10, 0, 1, -5.7, 10, 142},
        {false, 0, 900e6, 10, 0, 1, 0, -20, 113}, {false, 5, 4e8, 10, 0, 1, 0, 10, 137},
        {false, 1, 1.45e9, 11, 0, 1, 0, 10, 146}, {false, 0, 1e9, 7, 0, 1, 0, 10, 146},
        {false, 0, 1e9, 7, 0, 0, 0, 10, 146}, {false, 0, 2e9, 7, 0, 1, 0, 10, 810},
        {true, 0, 900e6, 10, 0, 1, 0, 10, 167}, {true, 0, 1.5e9, 12, 0, 1, 0, 10, 162},
        {true, 0, 1.5e9, 12, 1, 1, 0, 10, 164}, {false, 0, -1e300, 99, 0, 1, 0, 10, 810},
        {true, 0, nan, 99, 0, 1, 0, 10, 917}, {false, 0, 900e6, 0, 0, 1, 0, 10, 143},
        {false, 0, 900e6, 1, 0, 1, 0, 10, 143}, {false, 0, 900e6, 2, 0, 1, 0, 10, 143},
        {false, 9, 900e6, 10, 0, 1, 1e300, 10, 100000143}};
    // clang-format on
    for (const auto& [probe, table, centre, span, impedance, scale, offset, ref, expected] :
         cases) {
        InstrumentSettings& s = gSettings;
        std::tie(s.centerFreq, s.spanIndex, s.impedanceIndex, s.scaleIndex, s.levelOffset,
                 s.refLevel) = std::tie(centre, span, impedance, scale, offset, ref);
        EXPECT_EQ(probe ? Probe(table) : Antenna(table), expected)
            << (probe ? "probe " : "antenna ") << table << " at " << centre;
    }
}

// Rows at the ends of int: the reference lies between those of the constant tables at either gain.
TEST_F(LevelUnits, ExtremeUserRowsInterpolateWithoutOverflow) {
    for (double centre : {1e9, 1e11, 1e14}) {
        gSettings.centerFreq = centre;
        auto reference = [](int gainLow, int gainHigh) {
            setUserAntenna({0, INT_MAX}, {gainLow, gainHigh});
            return Antenna(levelunits::kUserAntenna);
        };
        const int low = reference(INT_MAX, INT_MAX);
        const int high = reference(INT_MIN, INT_MIN);
        for (auto [a, b] : {std::pair{INT_MIN, INT_MAX}, std::pair{INT_MAX, INT_MIN}}) {
            const int r = reference(a, b);
            EXPECT_TRUE(r >= low && r <= high) << centre << ": " << low << " " << r << " " << high;
        }
    }
}

TEST_F(LevelUnits, UserAntennaEmptyPartialFullAndFromItsText) {
    EXPECT_EQ(Antenna(levelunits::kUserAntenna), 810);   // every row -200
    setUserAntenna({8000, 8500, 9000}, {-368, 87, 339}); // rows 3..9 stay -200
    EXPECT_EQ(Antenna(levelunits::kUserAntenna), 143);
    setUserAntenna({8000, 8200, 8400, 8600, 8800, 9000, 9200, 9400, 9600, 10000},
                   {-368, 0, 50, 100, 150, 200, 250, 300, 320, 98});
    EXPECT_EQ(Antenna(levelunits::kUserAntenna), 144);
    setUserAntenna({8000}, {0});
    gSettings.efUserFreq[1] = -200;
    EXPECT_EQ(Antenna(levelunits::kUserAntenna), 810);
    // From its text.
    std::strcpy(gSettings.efUserText, "800M:0.87dB,900M:3.39dB,1000M:0.98dB");
    EXPECT_EQ(ParseUserCorrection(usercorrection::kAntenna), 3);
    EXPECT_EQ(Antenna(levelunits::kUserAntenna), 143);
}

TEST_F(LevelUnits, UserProbeEmptyLeavesTheReferencePartialAndFullCompute) {
    gSettings.fieldRefLevel = 42;
    EXPECT_EQ(Probe(levelunits::kUserProbe), 42);
    setUserProbe({1000, 10000}, {6920, 5070});
    EXPECT_EQ(Probe(levelunits::kUserProbe), 167);
    setUserProbe({100, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 10000},
                 {8670, 6920, 6000, 5800, 5600, 5500, 5400, 5300, 5200, 5070});
    EXPECT_EQ(Probe(levelunits::kUserProbe), 169);
    // A zero frequency has no log: those points are skipped, leaving none inside the table.
    setUserProbe({0, 1000}, {100, 200});
    gSettings.mfUserFreq[2] = -1;
    gSettings.centerFreq = 50e6;
    EXPECT_EQ(Probe(levelunits::kUserProbe), 917);
}

TEST_F(LevelUnits, ReferenceInDisplayUnitByActiveKind) {
    gSettings.unitIndex = 1;
    gSettings.traceRecord.recordRefLevel = -7;
    // {active kind, measuring function, reference of 10 dBm}; AT11 143, PR-7Q 167; the empty
    // slot follows the measuring function.
    const int cases[][3] = {{0, 0, 117},  {33, 0, 117}, {36, 0, -3}, {30, 0, -7}, {10, 0, 143},
                            {26, 0, 167}, {2, 4, 143},  {2, 5, 167}, {2, 1, 117}};
    for (const auto& c : cases) {
        gSettings.traceKind[1] = c[0];
        gSettings.measureIndex = c[1];
        gSettings.refLevel = -30; // the field kinds read the given value, not this
        gSettings.fieldRefLevel = 0;
        EXPECT_EQ(referenceInDisplayUnit(10), c[2]) << c[0] << " " << c[1];
        EXPECT_EQ(gSettings.refLevel, -30);
        if (c[0] == 10 || c[0] == 26) {
            EXPECT_EQ(gSettings.fieldRefLevel, c[2]) << c[0];
        }
    }
    gSettings.activeTraceSlot = 57; // a damaged slot number counts as empty
    EXPECT_EQ(referenceInDisplayUnit(10), 117);
}

// A row's expected value; kAny or nullptr: not checked in that row.
constexpr int kAny = INT_MIN;
void ExpectUnlessAny(int actual, int expected, std::size_t row) {
    if (expected != kAny) {
        EXPECT_EQ(actual, expected) << "row " << row;
    }
}
void ExpectUnlessAny(const char* actual, const char* expected, std::size_t row) {
    if (expected != nullptr) {
        EXPECT_STREQ(actual, expected) << "row " << row;
    }
}

// Unit labels by the active kind or the measuring function: stored records show (and set) their
// own reference, field kinds their antenna's or probe's; measurements keep the last field one.
TEST_F(LevelUnits, UnitLabelsByKindAndMeasurement) {
    const struct Case {
        bool measurement = false;
        int kind = 2, unit = 0, measure = 0, conversion = 0, impedance = 0, antenna = 0;
        double offset = 0, centre = 900e6;
        int span = 10, ref = 10, recordRef = 0, fieldRef = 0;
        int displayUnit = kAny;
        const char *text = nullptr, *unitLabel = nullptr, *markerLabel = nullptr;
        const char* referenceLabel = nullptr;
        int fieldRefAfter = kAny, refAfter = kAny;
    } cases[] = {
        // clang-format off
        {.offset = -0.5, .centre = 1e9, .span = 7, .ref = 0, .text = "-1"},
        {.unit = 1, .offset = -0.5, .centre = 1e9, .span = 7, .ref = 0, .displayUnit = 1,
         .text = "106", .unitLabel = "dBuV"},
        {.unit = 3, .impedance = 1, .offset = -0.5, .centre = 1e9, .span = 7, .ref = 0,
         .text = "-14"},
        {.kind = 32, .recordRef = 97, .displayUnit = 1, .text = "97", .refAfter = -10},
        {.kind = 37, .ref = -10, .recordRef = -3, .text = "-3", .markerLabel = "Level(dBV)",
         .refAfter = 10},
        {.kind = 28, .conversion = 1, .recordRef = 120, .displayUnit = 4, .text = "120",
         .unitLabel = "V/m", .referenceLabel = "Reference(dBuV/m)", .fieldRefAfter = 120},
        {.kind = 20, .offset = 0.5, .displayUnit = 4, .text = "144",
         .markerLabel = "Level(dBuV/m)", .fieldRefAfter = 143},
        {.kind = 16, .offset = 0.5, .displayUnit = 5, .unitLabel = "dBuA/m", .fieldRefAfter = 167},
        {.measurement = true, .measure = 4, .antenna = 5, .centre = 4e8, .displayUnit = 4,
         .fieldRefAfter = 137},
        {.measurement = true, .kind = 0, .measure = 4, .antenna = 5, .centre = 4e8, .fieldRef = 55,
         .displayUnit = 4, .text = "55", .fieldRefAfter = 55},
        {.measurement = true, .kind = 17, .measure = 5, .fieldRef = 42, .displayUnit = 5,
         .fieldRefAfter = 42},
        {.measurement = true, .kind = 17, .unit = 2, .measure = 3, .fieldRef = 42,
         .displayUnit = 2, .text = "57"},
        // clang-format on
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        InstrumentSettings& s = gSettings;
        std::tie(s.traceKind[1], s.unitIndex, s.measureIndex, s.conversionIndex, s.impedanceIndex,
                 s.antennaIndex, s.levelOffset, s.centerFreq, s.spanIndex, s.refLevel,
                 s.traceRecord.recordRefLevel, s.fieldRefLevel) =
            std::tie(c.kind, c.unit, c.measure, c.conversion, c.impedance, c.antenna, c.offset,
                     c.centre, c.span, c.ref, c.recordRef, c.fieldRef);
        const UnitLabelUpdate u =
            c.measurement ? updateUnitLabelsForMeasurement() : updateUnitLabels();
        ExpectUnlessAny(u.displayUnit, c.displayUnit, i);
        ExpectUnlessAny(u.referenceText, c.text, i);
        ExpectUnlessAny(u.texts.unitLabel, c.unitLabel, i);
        ExpectUnlessAny(u.texts.markerLevelLabel, c.markerLabel, i);
        ExpectUnlessAny(u.texts.referenceLabel, c.referenceLabel, i);
        ExpectUnlessAny(s.fieldRefLevel, c.fieldRefAfter, i);
        ExpectUnlessAny(s.refLevel, c.refAfter, i);
    }
}

TEST(UnitTexts, LinearValuesAndLabelsByDisplayUnit) {
    // {level, display unit, linear value}; an unknown unit reads as dBm.
    const double cases[][3] = {{0, 0, 1e-3 + 5e-13}, {-30, 0, 1e-6 + 5e-13}, {0, 1, 1e-6},
                               {20, 2, 1e-2},        {-20, 3, 0.1},          {120, 4, 1.0},
                               {100, 5, 0.1},        {0, 42, 1e-3 + 5e-13}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(convertMarkerLevel(c[0], static_cast<int>(c[1])), c[2])
            << c[0] << " " << c[1];
    }
    EXPECT_EQ(formatSI(convertMarkerLevel(0, 1), kLinearLevelFormat), "1.0000u");
    EXPECT_STREQ(unitFormTexts(9, 7).unitLabel, "dBm");
    EXPECT_STREQ(unitFormTexts(-1, 1).unitLabel, "W");
    EXPECT_STREQ(conversionCaption(3, 1), "V");
}

} // namespace
