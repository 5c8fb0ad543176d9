// A stand-in for the platform's clock functions. The real clock is never
// read or set while it is in place; what would have been passed is recorded.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "time/SystemClock.h"

class FakeClock : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = SystemClock::backend();
        state() = State{};
        SystemClock::backend() = ClockBackend{
            [] { return state().utcSeconds; },
            [](int64_t seconds, CalendarFields& local) {
                state().convertedSeconds = seconds;
                if (!state().localWorks) return false;
                // A fixed zone of UTC+8, computed with the program's calendar.
                const int64_t s = seconds + 8 * 3600;
                const int64_t day = (s >= 0 ? s : s - 86399) / 86400;
                const int64_t sod = s - day * 86400;
                calendar::civilFromDays(day + 25569, local.year, local.month, local.day);
                local.hour = static_cast<int32_t>(sod / 3600);
                local.minute = static_cast<int32_t>(sod / 60 % 60);
                local.second = static_cast<int32_t>(sod % 60);
                return true;
            },
            [](const SystemTimeFields& f) {
                state().sets.push_back(f);
                return state().setAnswer;
            },
            [] { return state().ticks; },
        };
    }
    void TearDown() override { SystemClock::backend() = saved_; }

    struct State {
        int64_t utcSeconds = 0;
        int64_t convertedSeconds = -12345;
        bool localWorks = true;
        bool setAnswer = true;
        uint32_t ticks = 0;
        std::vector<SystemTimeFields> sets;
    };
    static State& state() {
        static State s;
        return s;
    }

private:
    ClockBackend saved_{};
};

