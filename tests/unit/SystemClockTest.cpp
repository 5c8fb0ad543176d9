#include <gtest/gtest.h>

#include "FakeClock.h"
#include "Gbk.h"

namespace {

DateTime at(int y, int mo, int d, int h, int mi, double s) {
    CalendarFields f;
    f.year = y;
    f.month = mo;
    f.day = d;
    f.hour = h;
    f.minute = mi;
    return DateTime{DateTime::compose(f).days + s / 86400};
}

// ---------------------------------------------------------------- set

struct SetCase {
    const char* name;
    double days;
    SystemTimeFields expected;
};

class SetPasses : public FakeClock, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetPasses, TheNearestSecondAndWeekday) {
    const auto& c = GetParam();
    state().setAnswer = false;
    EXPECT_FALSE(SystemClock::set(DateTime{c.days}));  // the platform's answer comes back
    ASSERT_EQ(state().sets.size(), 1u);
    const SystemTimeFields& f = state().sets[0];
    const SystemTimeFields& e = c.expected;
    EXPECT_EQ(f.wYear, e.wYear);
    EXPECT_EQ(f.wMonth, e.wMonth);
    EXPECT_EQ(f.wDayOfWeek, e.wDayOfWeek);
    EXPECT_EQ(f.wDay, e.wDay);
    EXPECT_EQ(f.wHour, e.wHour);
    EXPECT_EQ(f.wMinute, e.wMinute);
    EXPECT_EQ(f.wSecond, e.wSecond);
    EXPECT_EQ(f.wMilliseconds, 0);
}

const SetCase kSets[] = {
    {"RoundsUpToSecond26", at(2018, 2, 4, 13, 33, 25.6).days, {2018, 2, 0, 4, 13, 33, 26, 0}},
    {"BelowRange", -1e7, {100, 1, 5, 1, 0, 0, 0, 0}},
    {"AboveRange", 1e7, {9999, 12, 5, 31, 0, 0, 0, 0}},
    {"JustBeforeMidnight", at(2018, 12, 31, 23, 59, 59.7).days, {2019, 1, 2, 1, 0, 0, 0, 0}},
};

INSTANTIATE_TEST_SUITE_P(Values, SetPasses, ::testing::ValuesIn(kSets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FakeClock, SetReportsAcceptance) {
    state().setAnswer = true;
    EXPECT_TRUE(SystemClock::set(at(2018, 2, 4, 13, 33, 25)));
}

// ---------------------------------------------------------------- now

struct NowCase {
    const char* name;
    int64_t utcSeconds;
    const char* expected;  // UTF-8 text form in UTC+8
};

class NowReads : public FakeClock, public ::testing::WithParamInterface<NowCase> {};

TEST_P(NowReads, LocalWholeSeconds) {
    state().utcSeconds = GetParam().utcSeconds;
    const DateTime t = SystemClock::now();
    EXPECT_EQ(state().convertedSeconds, GetParam().utcSeconds);
    EXPECT_EQ(gbkToUtf8(DateTime::toText(t)), GetParam().expected);
    // On a whole second: the stored number is exactly what composition gives.
    EXPECT_EQ(DateTime::fromText(DateTime::toText(t)).days, t.days);
}

const NowCase kNows[] = {
    {"Epoch", 0, "1970年1月1日8时"},
    {"Noon", 1517716800, "2018年2月4日12时"},  // 2018-02-04 04:00:00 UTC
    {"LastSecondOf32Bits", 2147483647, "2038年1月19日11时14分7秒"},
    {"After2038", 2147483648LL + 3600, "2038年1月19日12时14分8秒"},
    {"Year2100", 4102444800LL, "2100年1月1日8时"},
};

INSTANTIATE_TEST_SUITE_P(Clock, NowReads, ::testing::ValuesIn(kNows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FakeClock, NowFallsBackToUtcWhenLocalConversionFails) {
    state().localWorks = false;
    state().utcSeconds = -86400;  // 1969-12-31 00:00:00 UTC
    EXPECT_EQ(gbkToUtf8(DateTime::toText(SystemClock::now())), "1969年12月31日");
}

// ------------------------------------------------------------- uptime

struct UptimeCase {
    const char* name;
    uint32_t ticks;
    int32_t expected;
};

class UptimeReads : public FakeClock, public ::testing::WithParamInterface<UptimeCase> {};

TEST_P(UptimeReads, AsSigned32Bits) {
    state().ticks = GetParam().ticks;
    EXPECT_EQ(SystemClock::uptimeMs(), GetParam().expected);
}

const UptimeCase kUptimes[] = {
    {"Zero", 0u, 0},
    {"Top", 2147483647u, 2147483647},
    {"WrapsNegative", 2147483648u, -2147483647 - 1},
    {"AlmostFullCircle", 4294967295u, -1},
};

INSTANTIATE_TEST_SUITE_P(Counter, UptimeReads, ::testing::ValuesIn(kUptimes),
                         [](const auto& info) { return std::string(info.param.name); });

// The real platform functions that only read: sane values, nothing set.
TEST(PlatformClock, ReadsAreSane) {
    const ClockBackend real = platformClockBackend();
    const int64_t s = real.utcSeconds();
    EXPECT_GT(s, 1700000000);  // after 2023
    CalendarFields local;
    ASSERT_TRUE(real.toLocal(s, local));
    EXPECT_GE(local.year, 2023);
    const uint32_t a = real.tickCount();
    const uint32_t b = real.tickCount();
    EXPECT_LE(b - a, 1000u);
}

}  // namespace
