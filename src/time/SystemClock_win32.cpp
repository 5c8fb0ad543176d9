#include <windows.h>

#include <ctime>

#include "time/SystemClock.h"

namespace {

int64_t win32UtcSeconds() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    const uint64_t ticks = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    // 100 ns ticks since 1601-01-01; 11644473600 s lie between 1601 and 1970.
    return static_cast<int64_t>(ticks / 10000000u) - INT64_C(11644473600);
}

bool win32ToLocal(int64_t seconds, CalendarFields& local) {
    // The C runtime honours TZ and otherwise the system's zone settings,
    // which it reads once.
    const __time64_t t = seconds;
    const tm* parts = _localtime64(&t);
    if (parts == nullptr) return false;
    local = fieldsOf(*parts);
    return true;
}

bool win32SetLocal(const SystemTimeFields& f) {
    SYSTEMTIME st{f.wYear, f.wMonth, f.wDayOfWeek, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds};
    return SetLocalTime(&st) != FALSE;
}

uint32_t win32TickCount() { return GetTickCount(); }

}  // namespace

ClockBackend platformClockBackend() {
    return ClockBackend{win32UtcSeconds, win32ToLocal, win32SetLocal, win32TickCount};
}
