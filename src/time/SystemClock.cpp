#include "time/SystemClock.h"

namespace {

// Calendar fields of a UTC second count, for when the platform cannot give
// local fields (outside what its conversion accepts).
CalendarFields utcFields(int64_t seconds) {
    const int64_t unixDay = (seconds >= 0 ? seconds : seconds - 86399) / 86400;  // floor
    const auto secondOfDay = static_cast<int32_t>(seconds - unixDay * 86400);     // [0, 86399]
    const int64_t dayNumber = unixDay + 25569;  // days since 1899-12-30
    CalendarFields f;
    calendar::civilFromDays(dayNumber, f.year, f.month, f.day);
    f.dayOfWeek = calendar::weekday(dayNumber);
    f.hour = secondOfDay / 3600;
    f.minute = secondOfDay / 60 % 60;
    f.second = secondOfDay % 60;
    return f;
}

}  // namespace

CalendarFields fieldsOf(const std::tm& parts) {
    CalendarFields f;
    f.year = parts.tm_year + 1900;
    f.month = parts.tm_mon + 1;
    f.day = parts.tm_mday;
    f.hour = parts.tm_hour;
    f.minute = parts.tm_min;
    f.second = parts.tm_sec > 59 ? 59 : parts.tm_sec;
    f.dayOfWeek = parts.tm_wday;
    return f;
}

ClockBackend& SystemClock::backend() {
    static ClockBackend table = platformClockBackend();
    return table;
}

DateTime SystemClock::now() {
    const ClockBackend& b = backend();
    const int64_t seconds = b.utcSeconds();
    CalendarFields local;
    if (!b.toLocal(seconds, local)) local = utcFields(seconds);
    if (local.year < 100 || local.year > 9999) {
        return DateTime{local.year < 100 ? DateTime::Lowest : DateTime::Highest};
    }
    return DateTime::compose(local);
}

SystemTimeFields SystemClock::fieldsFor(DateTime value) {
    const CalendarFields f = DateTime::decompose(value);
    SystemTimeFields st;
    st.wYear = static_cast<uint16_t>(f.year);
    st.wMonth = static_cast<uint16_t>(f.month);
    st.wDayOfWeek = static_cast<uint16_t>(f.dayOfWeek);
    st.wDay = static_cast<uint16_t>(f.day);
    st.wHour = static_cast<uint16_t>(f.hour);
    st.wMinute = static_cast<uint16_t>(f.minute);
    st.wSecond = static_cast<uint16_t>(f.second);
    st.wMilliseconds = 0;
    return st;
}

bool SystemClock::set(DateTime value) { return backend().setLocal(fieldsFor(value)); }

int32_t SystemClock::uptimeMs() {
    // Two's complement: 2^31 ms after boot reads -2^31, 2^32 ms reads 0.
    return static_cast<int32_t>(backend().tickCount());
}
