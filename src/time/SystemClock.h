// The computer's clocks: local time, setting it, and the uptime counter.
#pragma once

#include <cstdint>
#include <ctime>

#include "time/DateTime.h"

// The fields that SetLocalTime takes, in the order of SYSTEMTIME.
struct SystemTimeFields {
    uint16_t wYear = 0;
    uint16_t wMonth = 0;
    uint16_t wDayOfWeek = 0;  // 0 = Sunday
    uint16_t wDay = 0;
    uint16_t wHour = 0;
    uint16_t wMinute = 0;
    uint16_t wSecond = 0;
    uint16_t wMilliseconds = 0;
};

// What SystemClock needs of the platform. Each platform file provides one
// table; tests replace entries to see exactly what would reach the platform.
struct ClockBackend {
    // Whole seconds since 1970-01-01 00:00:00 UTC, never ahead of the clock.
    int64_t (*utcSeconds)();
    // Local calendar fields of such a count (TZ when set, else the system's
    // zone). False when the platform cannot convert it.
    bool (*toLocal)(int64_t utcSeconds, CalendarFields& local);
    // Sets the local clock to whole seconds; false when refused.
    bool (*setLocal)(const SystemTimeFields& local);
    // Milliseconds since the system started, wrapping at 2^32.
    uint32_t (*tickCount)();
};

// Defined once per platform (SystemClock_win32.cpp, SystemClock_posix.cpp).
ClockBackend platformClockBackend();

// The fields of a C library broken-down time; a leap second reads as :59.
CalendarFields fieldsOf(const std::tm& parts);

class SystemClock {
public:
    // The local date and time, on a whole second.
    static DateTime now();
    // Sets the local clock to the value at its nearest second (clamped to the
    // valid range); true when the system accepted it.
    static bool set(DateTime value);
    // The uptime counter in milliseconds, read as signed 32-bit.
    static int32_t uptimeMs();

    // The functions the three operations call; tests may swap entries.
    static ClockBackend& backend();
    // The fields set() passes for a value.
    static SystemTimeFields fieldsFor(DateTime value);
};
