// A date and time of day as one double: days since 1899-12-30 00:00:00 (the
// OLE Automation date). Negative numbers count the day toward zero and the
// time of day by the magnitude of what remains, so -1.25 is 1899-12-29 06:00.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Broken-down form of a DateTime, always a valid date and time.
struct CalendarFields {
    int32_t year = 100;     // 100 .. 9999
    int32_t month = 1;      // 1 .. 12
    int32_t day = 1;        // 1 .. 31
    int32_t hour = 0;       // 0 .. 23
    int32_t minute = 0;     // 0 .. 59
    int32_t second = 0;     // 0 .. 59
    int32_t dayOfWeek = 0;  // 0 = Sunday .. 6 = Saturday
};

// Unit codes for DateTime::add. Codes below 1 count as Year, above 8 as Second.
enum class DateTimeUnit : int32_t {
    Year = 1,
    Quarter = 2,
    Month = 3,
    Week = 4,
    Day = 5,
    Hour = 6,
    Minute = 7,
    Second = 8,
};

struct DateTime {
    double days = 0.0;

    static constexpr double Lowest = -657434.0;   // 100-01-01 00:00:00
    static constexpr double Highest = 2958465.0;  // 9999-12-31 00:00:00

    // The text forms: "2018-2-04 13:33:25", "2018年2月4日13时33分25秒" (GBK) and
    // the like. The empty text and anything unreadable give Lowest.
    static DateTime fromText(std::string_view text);

    // "2018年2月4日13时33分25秒" in GBK, dropping trailing zero time fields.
    static std::string toText(DateTime value);

    // Adds a whole number of units; a negative amount moves back in time. The
    // result may lie outside the valid range; readers clamp it.
    static DateTime add(DateTime value, int32_t unit, int32_t amount);
    static DateTime add(DateTime value, DateTimeUnit unit, int32_t amount) {
        return add(value, static_cast<int32_t>(unit), amount);
    }

    // To the nearest whole second, after clamping to the valid range.
    static CalendarFields decompose(DateTime value);
    // From valid fields; dayOfWeek is not read.
    static DateTime compose(const CalendarFields& fields);

    // The valid range applied to a number: above Highest reads as Highest,
    // below Lowest as Lowest.
    static double clamp(double days);
};

// Proleptic Gregorian calendar on integer day counts (day 0 = 1899-12-30).
namespace calendar {
bool isLeapYear(int64_t year);
int32_t daysInMonth(int64_t year, int32_t month);
int64_t daysFromCivil(int64_t year, int32_t month, int32_t day);
void civilFromDays(int64_t dayNumber, int32_t& year, int32_t& month, int32_t& day);
int32_t weekday(int64_t dayNumber);  // 0 = Sunday
}  // namespace calendar
