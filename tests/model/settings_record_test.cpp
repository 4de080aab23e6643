#include "instrument_settings.h"
#include "keyword_tables.h"

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

TEST(SettingsRecord, KeywordTablesEndWithAnEmptyEntry) {
    EXPECT_EQ(keywords::count(keywords::kSpan410), 15);
    EXPECT_EQ(keywords::count(keywords::kSpan420), 16);
    EXPECT_STREQ(keywords::kSpan410[14], "FULL");
    EXPECT_STREQ(keywords::kSpan420[14], "5G");
    EXPECT_STREQ(keywords::kAntenna[4], "USER");
    EXPECT_STREQ(keywords::kVbw[keywords::count(keywords::kVbw)], "");
}
