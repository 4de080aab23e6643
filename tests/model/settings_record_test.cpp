#include "instrument_settings.h"

#include <gtest/gtest.h>

#include <cstddef>

TEST(SettingsRecord, TraceRecordIsTheTraceFileLayout) {
    EXPECT_EQ(offsetof(TraceRecord, recordUnitBits), 4u);
    EXPECT_EQ(offsetof(TraceRecord, recordCenterFreq), 8u);
    EXPECT_EQ(offsetof(TraceRecord, recordSpanIndex), 16u);
    EXPECT_EQ(offsetof(TraceRecord, recordKind), 44u);
    EXPECT_EQ(offsetof(TraceRecord, tracePoints), 48u);
    EXPECT_EQ(offsetof(TraceRecord, reserved1), 1072u);
}
