#include <gtest/gtest.h>

#include <cmath>

#include "Gbk.h"
#include "time/DateTime.h"

namespace {

struct Ymdhms {
    int year, month, day, hour, minute, second;
};

DateTime at(const Ymdhms& t) {
    CalendarFields f;
    f.year = t.year;
    f.month = t.month;
    f.day = t.day;
    f.hour = t.hour;
    f.minute = t.minute;
    f.second = t.second;
    return DateTime::compose(f);
}

std::string textOf(double days) { return DateTime::toText(DateTime{days}); }

// ---------------------------------------------------------------- fromText

struct AcceptedText {
    const char* name;
    const char* text;  // UTF-8; converted to GBK
    Ymdhms expected;
};

class FromTextAccepted : public ::testing::TestWithParam<AcceptedText> {};

TEST_P(FromTextAccepted, ReadsTheFields) {
    const auto& c = GetParam();
    const DateTime got = DateTime::fromText(G(c.text));
    EXPECT_EQ(got.days, at(c.expected).days) << DateTime::toText(got);
}

const AcceptedText kAccepted[] = {
    {"BuiltByTheQuery", "2018-2-04 13:33:25", {2018, 2, 4, 13, 33, 25}},
    {"ZeroPadded", "2018-02-04 05:33:25", {2018, 2, 4, 5, 33, 25}},
    {"DateOnly", "2018-2-4", {2018, 2, 4, 0, 0, 0}},
    {"SlashesNoSeconds", "2018/2/4 13:33", {2018, 2, 4, 13, 33, 0}},
    {"DotsHourOnly", "2018.2.4 13", {2018, 2, 4, 13, 0, 0}},
    {"AllColons", "2018:2:4:13:33:25", {2018, 2, 4, 13, 33, 25}},
    {"DigitsOnly", "20180204133325", {2018, 2, 4, 13, 33, 25}},
    {"TextForm", "2018年2月4日13时33分25秒", {2018, 2, 4, 13, 33, 25}},
    {"TextFormHourOnly", "2018年2月4日13时", {2018, 2, 4, 13, 0, 0}},
    {"TextFormDateOnly", "2018年2月4日", {2018, 2, 4, 0, 0, 0}},
    {"AfterSecondCharIgnored", "2018-2-4 13:33:25秒xyz", {2018, 2, 4, 13, 33, 25}},
    {"FullWidth", "２０１８－２－４　１３：３３：２５", {2018, 2, 4, 13, 33, 25}},
    {"FiveDigitYearSpillsIntoMonth", "12345-1-1", {1234, 5, 1, 1, 0, 0}},
    {"LeapDay2016", "2016-2-29", {2016, 2, 29, 0, 0, 0}},
    {"LeapDay2000", "2000-2-29", {2000, 2, 29, 0, 0, 0}},
    {"FirstDay", "100-1-1", {100, 1, 1, 0, 0, 0}},
    {"LastDay", "9999-12-31", {9999, 12, 31, 0, 0, 0}},
    {"BeforeDayZero", "1899-12-29 06:00:00", {1899, 12, 29, 6, 0, 0}},
    {"MixedSeparators", "2018-2/4 13.33:25", {2018, 2, 4, 13, 33, 25}},
};

INSTANTIATE_TEST_SUITE_P(Texts, FromTextAccepted, ::testing::ValuesIn(kAccepted),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedText {
    const char* name;
    const char* text;
};

class FromTextRefused : public ::testing::TestWithParam<RefusedText> {};

TEST_P(FromTextRefused, GivesLowest) {
    EXPECT_EQ(DateTime::fromText(G(GetParam().text)).days, DateTime::Lowest);
}

const RefusedText kRefused[] = {
    {"Empty", ""},
    {"Letters", "abc"},
    {"LeadingSpace", " 2018-2-4 13:33:25"},
    {"TrailingSpace", "2018-2-4 13:33:25 "},
    {"TwoSpacesBetween", "2018-2-4  13:33:25"},
    {"LetterT", "2018-2-4T13:33:25"},
    {"TwoDigitYear", "18-2-4"},
    {"NotALeapYear", "2018-2-29"},
    {"CenturyNotLeap", "1900-2-29"},
    {"Month13", "2018-13-1"},
    {"Day32", "2018-1-32"},
    {"Day0", "2018-1-0"},
    {"Hour24", "2018-2-4 24:00:00"},
    {"Minute60", "2018-2-4 13:60:00"},
    {"Second60", "2018-2-4 13:33:60"},
    {"YearBelowRange", "99-1-1"},
    {"SpaceAfterMonth", "2018-2 4"},
    {"TwoSeparators", "2018--2-4"},
    {"TextAfterSecond", "2018-2-4 13:33:25x"},
    {"AsctimeBuilt", "6-12-Nov 08:49:37"},
    {"CutOffLeadByte", "2018-2-4 13:33:25\xC3"},
    {"OnlyFullWidthSpace", "　"},
};

INSTANTIATE_TEST_SUITE_P(Texts, FromTextRefused, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FromText, LowestEqualsFirstDayAndReadsAsIt) {
    EXPECT_EQ(DateTime::fromText(G("100-1-1")).days, -657434.0);
    EXPECT_EQ(textOf(DateTime::Lowest), G("100年1月1日"));
}

TEST(FromText, LastSecondOfRangeLiesAboveItAndReadsAsHighest) {
    const DateTime t = DateTime::fromText(G("9999-12-31 23:59:59"));
    EXPECT_GT(t.days, DateTime::Highest);
    EXPECT_EQ(DateTime::toText(t), G("9999年12月31日"));
}

TEST(FromText, EveryTextFormReadsBack) {
    // Every second of one day, and the first second of many days across the range.
    for (int s = 0; s < 86400; s += 7) {
        const DateTime t = at({2018, 2, 4, s / 3600, s / 60 % 60, s % 60});
        ASSERT_EQ(DateTime::fromText(DateTime::toText(t)).days, t.days) << s;
    }
    for (double d = DateTime::Lowest; d <= DateTime::Highest; d += 997) {
        const DateTime t = DateTime::add(DateTime{d}, DateTimeUnit::Second, 1);
        const DateTime back = DateTime::fromText(DateTime::toText(t));
        ASSERT_EQ(DateTime::toText(back), DateTime::toText(t)) << d;
    }
}

// ------------------------------------------------------------------ toText

struct TextForm {
    const char* name;
    double days;
    const char* expected;
};

class ToText : public ::testing::TestWithParam<TextForm> {};

TEST_P(ToText, WritesTheTextForm) {
    EXPECT_EQ(textOf(GetParam().days), G(GetParam().expected));
}

const double kFeb4 = 43135.0;  // 2018-02-04 00:00:00
const double kSecond = 1.0 / 86400;

const TextForm kTextForms[] = {
    {"WholeHour", kFeb4 + 13.0 / 24, "2018年2月4日13时"},
    {"WholeMinute", kFeb4 + (13 * 60 + 5) / 1440.0, "2018年2月4日13时5分"},
    {"ZeroMinuteWithSeconds", kFeb4 + (13 * 3600 + 7) * kSecond, "2018年2月4日13时0分7秒"},
    {"ZeroHourWithSeconds", kFeb4 + 7 * kSecond, "2018年2月4日0时0分7秒"},
    {"Midnight", kFeb4, "2018年2月4日"},
    {"Longest", at({2018, 12, 31, 23, 59, 59}).days, "2018年12月31日23时59分59秒"},
    {"HalfSecondRoundsUp", kFeb4 + (13 * 3600 + 33 * 60 + 25.51) * kSecond, "2018年2月4日13时33分26秒"},
    {"JustUnderHalfSecondRoundsDown", kFeb4 + (13 * 3600 + 33 * 60 + 25.49) * kSecond, "2018年2月4日13时33分25秒"},
    {"LastFractionReadsAsNextDay", kFeb4 + (86400 - 0.4) * kSecond, "2018年2月5日"},
    {"DayZero", 0.0, "1899年12月30日"},
    {"NegativeHalfDay", -0.5, "1899年12月30日12时"},
    {"PositiveHalfDay", 0.5, "1899年12月30日12时"},
    {"NegativeWithTime", -1.25, "1899年12月29日6时"},
    {"NegativeWithSeconds", -(2 + (6 * 3600 + 1) * kSecond), "1899年12月28日6时0分1秒"},
    {"AboveRange", 3e6, "9999年12月31日"},
    {"FarAboveRange", 1e300, "9999年12月31日"},
    {"BelowRange", -657434.5, "100年1月1日"},
    {"FarBelowRange", -1e300, "100年1月1日"},
};

INSTANTIATE_TEST_SUITE_P(Values, ToText, ::testing::ValuesIn(kTextForms),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Decompose, WeekdaysAndRangeEnds) {
    EXPECT_EQ(DateTime::decompose(DateTime{kFeb4}).dayOfWeek, 0);  // a Sunday
    EXPECT_EQ(DateTime::decompose(DateTime{0.0}).dayOfWeek, 6);    // a Saturday
    EXPECT_EQ(DateTime::decompose(DateTime{DateTime::Lowest}).dayOfWeek, 5);
    EXPECT_EQ(DateTime::decompose(DateTime{DateTime::Highest}).dayOfWeek, 5);
    EXPECT_EQ(DateTime::decompose(DateTime{-1.0}).dayOfWeek, 5);
}

TEST(Calendar, DayCountsRoundTripOverTheWholeRange) {
    int32_t y = 0, m = 0, d = 0;
    int64_t expected = calendar::daysFromCivil(100, 1, 1);
    ASSERT_EQ(expected, -657434);
    for (int32_t year = 100; year <= 9999; ++year) {
        for (int32_t month = 1; month <= 12; ++month) {
            for (int32_t day = 1; day <= calendar::daysInMonth(year, month); ++day) {
                ASSERT_EQ(calendar::daysFromCivil(year, month, day), expected);
                calendar::civilFromDays(expected, y, m, d);
                ASSERT_TRUE(y == year && m == month && d == day) << expected;
                ++expected;
            }
        }
    }
    EXPECT_EQ(expected - 1, 2958465);
}

// --------------------------------------------------------------------- add

struct Addition {
    const char* name;
    Ymdhms start;
    int32_t unit;
    int32_t amount;
    const char* expected;  // text form
};

class Add : public ::testing::TestWithParam<Addition> {};

TEST_P(Add, MovesByTheUnit) {
    const auto& c = GetParam();
    EXPECT_EQ(DateTime::toText(DateTime::add(at(c.start), c.unit, c.amount)), G(c.expected));
}

const Addition kAdditions[] = {
    {"EightHours", {2018, 2, 4, 5, 33, 25}, 6, 8, "2018年2月4日13时33分25秒"},
    {"HoursAcrossMidnight", {2018, 2, 4, 20, 0, 0}, 6, 8, "2018年2月5日4时"},
    {"MinusOneHourOfSeconds", {2018, 2, 4, 13, 33, 25}, 8, -3600, "2018年2月4日12时33分25秒"},
    {"Minutes", {2018, 2, 4, 13, 33, 25}, 7, 27, "2018年2月4日14时0分25秒"},
    {"Days", {2018, 2, 4, 13, 0, 0}, 5, 30, "2018年3月6日13时"},
    {"Weeks", {2018, 2, 4, 0, 0, 0}, 4, -1, "2018年1月28日"},
    {"Years", {2018, 2, 4, 0, 0, 0}, 1, 3, "2021年2月4日"},
    {"LeapDayPlusYear", {2016, 2, 29, 0, 0, 0}, 1, 1, "2017年2月28日"},
    {"Jan31PlusMonth", {2018, 1, 31, 0, 0, 0}, 3, 1, "2018年2月28日"},
    {"Jan31PlusMonthLeap", {2016, 1, 31, 0, 0, 0}, 3, 1, "2016年2月29日"},
    {"MonthsAcrossYears", {2018, 11, 15, 0, 0, 0}, 3, 14, "2020年1月15日"},
    {"MonthsBackAcrossYears", {2018, 2, 15, 0, 0, 0}, 3, -14, "2016年12月15日"},
    {"MonthsBackExactYear", {2018, 2, 15, 0, 0, 0}, 3, -12, "2017年2月15日"},
    {"Quarters", {2018, 11, 30, 0, 0, 0}, 2, 1, "2019年2月28日"},
    {"MonthsKeepTime", {2018, 2, 4, 13, 33, 25}, 3, 1, "2018年3月4日13时33分25秒"},
    {"YearsStopAtTop", {9999, 6, 1, 0, 0, 0}, 1, 5, "9999年6月1日"},
    {"YearsStopAtBottom", {150, 6, 1, 0, 0, 0}, 1, -500, "100年6月1日"},
    {"HugeMonthCount", {2018, 2, 4, 0, 0, 0}, 3, 2147483647, "9999年9月4日"},
    {"HugeNegativeMonthCount", {2018, 2, 4, 0, 0, 0}, 3, -2147483647 - 1, "100年6月4日"},
    {"UnitZeroIsYears", {2018, 2, 4, 0, 0, 0}, 0, 1, "2019年2月4日"},
    {"UnitNegativeIsYears", {2018, 2, 4, 0, 0, 0}, -5, 1, "2019年2月4日"},
    {"UnitNineIsSeconds", {2018, 2, 4, 0, 0, 0}, 9, 1, "2018年2月4日0时0分1秒"},
    {"SecondsAcrossDayZero", {1899, 12, 30, 0, 0, 1}, 8, -2, "1899年12月29日23时59分59秒"},
    {"HoursForwardBeforeDayZero", {1899, 12, 29, 22, 0, 0}, 6, 3, "1899年12月30日1时"},
    {"HoursBeforeDayZero", {1899, 12, 29, 6, 0, 0}, 6, 1, "1899年12月29日7时"},
    {"DaysFromLowest", {100, 1, 1, 0, 0, 0}, 5, 1, "100年1月2日"},
};

INSTANTIATE_TEST_SUITE_P(Units, Add, ::testing::ValuesIn(kAdditions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AddRange, ZeroAmountReturnsTheNumberUnchanged) {
    for (int32_t unit = 0; unit <= 9; ++unit) {
        for (double v : {3e6, -1e7, -0.25, 43135.123}) {
            EXPECT_EQ(DateTime::add(DateTime{v}, unit, 0).days, v) << unit;
        }
    }
}

TEST(AddRange, OutOfRangeInputIsClampedFirst) {
    EXPECT_EQ(DateTime::add(DateTime{1e9}, DateTimeUnit::Day, -1).days, DateTime::Highest - 1);
    EXPECT_EQ(DateTime::add(DateTime{-1e9}, DateTimeUnit::Day, 1).days, DateTime::Lowest + 1);
}

TEST(AddRange, ResultMayLeaveTheRange) {
    EXPECT_GT(DateTime::add(DateTime{DateTime::Highest}, DateTimeUnit::Day, 1).days, DateTime::Highest);
}

class LowestDoesNotAdvance : public ::testing::TestWithParam<DateTimeUnit> {};

TEST_P(LowestDoesNotAdvance, ByClockUnits) {
    DateTime t{DateTime::Lowest};
    t = DateTime::add(t, GetParam(), 1);
    EXPECT_LT(t.days, DateTime::Lowest);
    EXPECT_EQ(DateTime::toText(t), G("100年1月1日"));
    const DateTime again = DateTime::add(t, GetParam(), 1);
    EXPECT_EQ(again.days, t.days);
}

INSTANTIATE_TEST_SUITE_P(Units, LowestDoesNotAdvance,
                         ::testing::Values(DateTimeUnit::Hour, DateTimeUnit::Minute, DateTimeUnit::Second));

TEST(AddSeconds, LowestPlusOneSecondIsBelowTheRange) {
    EXPECT_DOUBLE_EQ(DateTime::add(DateTime{DateTime::Lowest}, DateTimeUnit::Second, 1).days,
                     -657434.0000115741);
}

TEST(AddSeconds, AnHourOfSingleSecondsKeepsTime) {
    DateTime t = at({2018, 2, 4, 13, 33, 25});
    for (int i = 0; i < 3600; ++i) t = DateTime::add(t, DateTimeUnit::Second, 1);
    EXPECT_EQ(DateTime::toText(t), G("2018年2月4日14时33分25秒"));
    EXPECT_NEAR(t.days, at({2018, 2, 4, 14, 33, 25}).days, 1e-6 / 86400 * 1000);
}

TEST(AddSeconds, ADayOfSingleSecondsBeforeDayZero) {
    DateTime t = at({1899, 12, 28, 12, 0, 0});
    for (int i = 0; i < 86400; ++i) t = DateTime::add(t, DateTimeUnit::Second, 1);
    EXPECT_EQ(DateTime::toText(t), G("1899年12月29日12时"));
}

}  // namespace
