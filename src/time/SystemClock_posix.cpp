#include <time.h>

#include "time/SystemClock.h"

namespace {

int64_t posixUtcSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec);  // the fraction is dropped
}

bool posixToLocal(int64_t seconds, CalendarFields& local) {
    // glibc reads TZ (or /etc/localtime) at the first conversion and keeps it.
    const auto t = static_cast<time_t>(seconds);
    tm parts{};
    if (localtime_r(&t, &parts) == nullptr) return false;
    local = fieldsOf(parts);
    return true;
}

bool posixSetLocal(const SystemTimeFields& st) {
    // SetLocalTime's own limits, so that both platforms refuse the same times.
    if (st.wYear < 1601 || st.wYear > 30827) return false;
    tm parts{};
    parts.tm_year = st.wYear - 1900;
    parts.tm_mon = st.wMonth - 1;
    parts.tm_mday = st.wDay;
    parts.tm_hour = st.wHour;
    parts.tm_min = st.wMinute;
    parts.tm_sec = st.wSecond;
    parts.tm_isdst = -1;  // the system decides daylight saving time
    const time_t utc = mktime(&parts);
    if (utc == static_cast<time_t>(-1)) return false;
    const timespec ts{utc, 0};
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

uint32_t posixTickCount() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    const auto ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);  // cut to 32 bits like GetTickCount
}

}  // namespace

ClockBackend platformClockBackend() {
    return ClockBackend{posixUtcSeconds, posixToLocal, posixSetLocal, posixTickCount};
}
