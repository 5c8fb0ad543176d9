#include <gtest/gtest.h>

#include "FakeClock.h"
#include "Gbk.h"
#include "net/NetworkTime.h"

namespace {

// Feeds QueryNetworkTime a header block, lets the fake uptime counter run
// for a while during the exchange, and records the clock changes.
class Query : public FakeClock {
protected:
    void SetUp() override {
        FakeClock::SetUp();
        savedSource_ = headerSource();
        headerSource() = [this] {
            ++fetches_;
            state().ticks += exchangeMs_;
            return block_;
        };
    }
    void TearDown() override {
        headerSource() = savedSource_;
        FakeClock::TearDown();
    }

    std::string query(const std::string& block, int32_t flag = 0, uint32_t exchangeMs = 0) {
        block_ = block;
        exchangeMs_ = exchangeMs;
        return gbkToUtf8(QueryNetworkTime(flag));
    }

    int fetches_ = 0;

private:
    std::string block_;
    uint32_t exchangeMs_ = 0;
    std::function<std::string()> savedSource_;
};

std::string withDate(const std::string& line) {
    return "HTTP/1.1 200 OK\r\nServer: x\r\n" + line + "\r\nContent-Length: 0\r\n\r\n";
}

const char kExample[] = "1994年11月6日16时49分37秒";

struct BlockCase {
    const char* name;
    std::string block;
    const char* expected;  // UTF-8 text form, or "" for the empty text
};

class QueryBlocks : public Query, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(QueryBlocks, GiveTheNetworkTimeOrNothing) {
    EXPECT_EQ(query(GetParam().block), GetParam().expected);
    EXPECT_EQ(fetches_, 1);
    EXPECT_TRUE(state().sets.empty());
}

const BlockCase kBlocks[] = {
    {"Example", withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT"), kExample},
    {"NoSpaceAfterColon", withDate("Date:Sun, 06 Nov 1994 08:49:37 GMT"), kExample},
    {"ExtraSpacesAround", withDate("Date:   Sun, 06 Nov 1994 08:49:37 GMT  "), kExample},
    {"FullWidthSpacesAround", withDate("Date:\xA1\xA1Sun, 06 Nov 1994 08:49:37 GMT\xA1\xA1"), kExample},
    {"AcrossMidnight", withDate("Date: Sat, 31 Dec 2016 23:59:59 GMT"), "2017年1月1日7时59分59秒"},
    {"EveryMonth", withDate("Date: Fri, 15 Jul 2022 00:00:00 GMT"), "2022年7月15日8时"},
    {"UnknownMonthIsDecember", withDate("Date: Sat, 01 Foo 2016 12:00:00 GMT"), "2016年12月1日20时"},
    {"LowerCaseMonthIsDecember", withDate("Date: Sun, 06 nov 1994 08:49:37 GMT"), "1994年12月6日16时49分37秒"},
    {"EmptyBlock", "", ""},
    {"FailedExchange", std::string(1024, ' '), ""},
    {"NoDate", "HTTP/1.1 200 OK\r\nServer: x\r\n\r\n", ""},
    {"LowerCaseName", withDate("date: Sun, 06 Nov 1994 08:49:37 GMT"), ""},
    {"DateAtEndWithoutCrLf", "HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT", ""},
    {"CrLfRightAfterColon", withDate("Date:\r\nX: Sun, 06 Nov 1994 08:49:37 GMT"), ""},
    {"TwoInnerSpaces", withDate("Date: Sun, 06  Nov 1994 08:49:37 GMT"), ""},
    {"TabForSpace", withDate("Date: Sun,\t06 Nov 1994 08:49:37 GMT"), ""},
    {"ObsoleteDashes", withDate("Date: Sunday, 06-Nov-94 08:49:37 GMT"), ""},
    {"SevenMembers", withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT x"), ""},
    // Six members in the wrong places are built all the same; the date-time
    // reader refuses "6-12-Nov 08:49:37" and the result is its lowest value.
    {"AsctimeLayout", withDate("Date: Sun Nov  6 08:49:37 1994"), "100年1月1日"},
    {"HeaderNameEndsInDate",
     "HTTP/1.1 200 OK\r\nX-Date: Mon, 07 Nov 1994 10:00:00 GMT\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n",
     "1994年11月7日18时"},
    {"DateInsideEarlierValue",
     "HTTP/1.1 200 OK\r\nX-Note: Date:Tue, 08 Nov 1994 11:00:00 GMT\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n",
     "1994年11月8日19时"},
    {"FirstOfTwoDates",
     "HTTP/1.1 200 OK\r\nDate: Mon, 07 Nov 1994 10:00:00 GMT\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n",
     "1994年11月7日18时"},
};

INSTANTIATE_TEST_SUITE_P(Blocks, QueryBlocks, ::testing::ValuesIn(kBlocks),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------- elapsed seconds

struct ElapsedCase {
    const char* name;
    uint32_t startTicks;
    uint32_t exchangeMs;
    const char* expected;
};

class QueryElapsed : public Query, public ::testing::WithParamInterface<ElapsedCase> {};

TEST_P(QueryElapsed, AddsWholeSecondsOnly) {
    state().ticks = GetParam().startTicks;
    EXPECT_EQ(query(withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT"), 0, GetParam().exchangeMs),
              GetParam().expected);
}

const ElapsedCase kElapsed[] = {
    {"Instant", 5000, 0, "1994年11月6日16时49分37秒"},
    {"JustUnderOneSecond", 5000, 999, "1994年11月6日16时49分37秒"},
    {"OneSecond", 5000, 1000, "1994年11月6日16时49分38秒"},
    {"OnePointSeven", 5000, 1700, "1994年11月6日16时49分38秒"},
    {"AlmostTwo", 5000, 1999, "1994年11月6日16时49分38秒"},
    {"LongQuery", 5000, 23000, "1994年11月6日16时50分"},
    // The counter passes from 2^31 - 1 to -2^31 during the query.
    {"AcrossSignedWrap", 2147483000u, 1500, "1994年11月6日16时49分38秒"},
    // The counter passes from 2^32 - 1 back to 0.
    {"AcrossFullWrap", 4294967000u, 2500, "1994年11月6日16时49分39秒"},
};

INSTANTIATE_TEST_SUITE_P(Uptime, QueryElapsed, ::testing::ValuesIn(kElapsed),
                         [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------------ flag

struct FlagCase {
    const char* name;
    int32_t flag;
    bool sets;
};

class QueryFlag : public Query, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(QueryFlag, OnlyOneSetsTheClock) {
    query(withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT"), GetParam().flag);
    EXPECT_EQ(state().sets.size(), GetParam().sets ? 1u : 0u);
}

const FlagCase kFlags[] = {
    {"Zero", 0, false}, {"One", 1, true}, {"Two", 2, false}, {"MinusOne", -1, false},
};

INSTANTIATE_TEST_SUITE_P(Flags, QueryFlag, ::testing::ValuesIn(kFlags),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Query, LeftOutFlagLeavesTheClockAlone) {
    headerSource() = [] { return withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT"); };
    EXPECT_EQ(gbkToUtf8(QueryNetworkTime()), kExample);
    EXPECT_TRUE(state().sets.empty());
}

TEST_F(Query, SetsTheComputedLocalTime) {
    query(withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT"), 1);
    ASSERT_EQ(state().sets.size(), 1u);
    const SystemTimeFields& f = state().sets[0];
    EXPECT_EQ(f.wYear, 1994);
    EXPECT_EQ(f.wMonth, 11);
    EXPECT_EQ(f.wDay, 6);
    EXPECT_EQ(f.wDayOfWeek, 0);
    EXPECT_EQ(f.wHour, 16);
    EXPECT_EQ(f.wMinute, 49);
    EXPECT_EQ(f.wSecond, 37);
}

TEST_F(Query, ReturnedTextComesFromASecondReadingOfTheUptime) {
    // The clock is set from the first reading after the exchange; the text
    // comes from a second one, which here falls a second later.
    headerSource() = [] {
        state().ticks += 900;
        return withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT");
    };
    SystemClock::backend().setLocal = [](const SystemTimeFields& f) {
        state().sets.push_back(f);
        state().ticks += 200;  // setting the clock takes a while
        return true;
    };
    EXPECT_EQ(gbkToUtf8(QueryNetworkTime(1)), "1994年11月6日16时49分38秒");
    ASSERT_EQ(state().sets.size(), 1u);
    EXPECT_EQ(state().sets[0].wSecond, 37);
}

TEST_F(Query, FailedQueryDoesNotSetTheClock) {
    EXPECT_EQ(query(std::string(1024, ' '), 1), "");
    EXPECT_EQ(query(withDate("Date: Sun, 06  Nov 1994 08:49:37 GMT"), 1), "");
    EXPECT_TRUE(state().sets.empty());
}

TEST_F(Query, UnreadableDateSetsTheLowestTime) {
    EXPECT_EQ(query(withDate("Date: Sun Nov  6 08:49:37 1994"), 1), "100年1月1日");
    ASSERT_EQ(state().sets.size(), 1u);
    EXPECT_EQ(state().sets[0].wYear, 100);
}

TEST_F(Query, EachCallFetchesAgain) {
    const std::string block = withDate("Date: Sun, 06 Nov 1994 08:49:37 GMT");
    query(block);
    query(block);
    EXPECT_EQ(fetches_, 2);
}

}  // namespace
