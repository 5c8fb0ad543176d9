#include "time/DateTime.h"

#include <cmath>
#include <cstdio>

namespace {

// The GBK bytes of the characters in the text form.
constexpr std::string_view kYearChar = "\xC4\xEA";    // 年
constexpr std::string_view kMonthChar = "\xD4\xC2";   // 月
constexpr std::string_view kDayChar = "\xC8\xD5";     // 日
constexpr std::string_view kHourChar = "\xCA\xB1";    // 时
constexpr std::string_view kMinuteChar = "\xB7\xD6";  // 分
constexpr std::string_view kSecondChar = "\xC3\xEB";  // 秒

// The doubles nearest 1/86400, 1/1440 and 1/24, and half a second in days.
constexpr double kDaysPerSecond = 1.1574074074074073e-05;
constexpr double kDaysPerMinute = 0.0006944444444444445;
constexpr double kDaysPerHour = 0.041666666666666664;
constexpr double kHalfSecond = 5.787037037037037e-06;

// Unix day of 1899-12-30, the day our numbers count from.
constexpr int64_t kEpochUnixDay = -25569;

bool isLeadByte(unsigned char c) { return c >= 0x80; }

// Full-width ASCII (A3 A1..A3 FE), the ideographic space and a few look-alike
// symbols become their plain one-byte forms. Other bytes are copied; a lead
// byte at the very end stops the conversion and is kept as it is.
std::string plainWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!isLeadByte(c)) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) {
            out.append(text.substr(i));
            break;
        }
        const auto t = static_cast<unsigned char>(text[i + 1]);
        if (c == 0xA3 && t >= 0xA1 && t <= 0xFE) {
            out += static_cast<char>(t - 0x80);
        } else if (c == 0xA1 && t == 0xA1) {
            out += ' ';
        } else if (c == 0xA1 && t == 0xAB) {
            out += '~';
        } else if (c == 0xA1 && (t == 0xEE || t == 0xEF)) {
            out += '*';
        } else {
            out += static_cast<char>(c);
            out += static_cast<char>(t);
        }
        i += 2;
    }
    return out;
}

class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // Up to maxDigits decimal digits; none reads as 0.
    int32_t number(int maxDigits) {
        int32_t value = 0;  // at most 9999
        for (int n = 0; n < maxDigits && pos_ < text_.size(); ++n) {
            const char c = text_[pos_];
            if (c < '0' || c > '9') break;
            value = value * 10 + (c - '0');
            ++pos_;
        }
        return value;
    }

    // One separator at most: a punctuation mark, a space where allowed, or the
    // field's own character.
    void skipSeparator(std::string_view ownChar, bool spaceAllowed) {
        if (pos_ >= text_.size()) return;
        const char c = text_[pos_];
        if (c == '/' || c == '-' || c == ':' || c == '.' || (spaceAllowed && c == ' ')) {
            ++pos_;
        } else if (text_.substr(pos_, ownChar.size()) == ownChar) {
            pos_ += ownChar.size();
        }
    }

    // After the second: the end, or 秒 followed by anything.
    bool endsWell() const {
        return pos_ == text_.size() || text_.substr(pos_, kSecondChar.size()) == kSecondChar;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

bool isValid(const CalendarFields& f) {
    return f.year >= 100 && f.year <= 9999 && f.month >= 1 && f.month <= 12 && f.day >= 1 &&
           f.day <= calendar::daysInMonth(f.year, f.month) && f.hour >= 0 && f.hour <= 23 &&
           f.minute >= 0 && f.minute <= 59 && f.second >= 0 && f.second <= 59;
}

void appendNumber(std::string& out, int32_t value, std::string_view unitChar) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    out += digits;
    out += unitChar;
}

// A day number and a time of day as one linear count, where moving forward in
// time always increases the number (unlike the stored form before day 0).
double toLinear(double v) { return v >= 0 ? v : 2 * std::ceil(v) - v; }
double fromLinear(double s) { return s >= 0 ? s : 2 * std::floor(s) - s; }

}  // namespace

namespace calendar {

bool isLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int32_t daysInMonth(int64_t year, int32_t month) {
    static constexpr int32_t kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kLengths[month - 1];
}

int64_t daysFromCivil(int64_t year, int32_t month, int32_t day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;                                        // [0, 399]
    const int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // [0, 365]
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                // [0, 146096]
    const int64_t unixDay = era * 146097 + doe - 719468;
    return unixDay - kEpochUnixDay;
}

void civilFromDays(int64_t dayNumber, int32_t& year, int32_t& month, int32_t& day) {
    const int64_t z = dayNumber + kEpochUnixDay + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;                                     // [0, 146096]
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);              // [0, 365]
    const int64_t mp = (5 * doy + 2) / 153;                                   // [0, 11]
    day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);                 // [1, 31]
    month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);                  // [1, 12]
    year = static_cast<int32_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

int32_t weekday(int64_t dayNumber) {
    // Day 0, 1899-12-30, was a Saturday.
    const int64_t r = (dayNumber % 7 + 7) % 7;  // [0, 6]
    return static_cast<int32_t>((r + 6) % 7);
}

}  // namespace calendar

double DateTime::clamp(double days) {
    if (days > Highest) return Highest;
    if (days < Lowest) return Lowest;
    return days;
}

CalendarFields DateTime::decompose(DateTime value) {
    double v = clamp(value.days);  // [-657434, 2958465]
    v = v > 0 ? v + kHalfSecond : v - kHalfSecond;
    const auto dayNumber = static_cast<int64_t>(v);  // toward zero: [-657434, 2958465]
    const double m = std::fabs(v);
    auto secondOfDay = static_cast<int32_t>((m - std::floor(m)) * 86400.0);  // [0, 86399]
    if (secondOfDay > 86399) secondOfDay = 86399;

    CalendarFields f;
    calendar::civilFromDays(dayNumber, f.year, f.month, f.day);
    f.dayOfWeek = calendar::weekday(dayNumber);
    f.hour = secondOfDay / 3600;
    f.minute = secondOfDay / 60 % 60;
    f.second = secondOfDay % 60;
    return f;
}

DateTime DateTime::compose(const CalendarFields& f) {
    const int64_t d = calendar::daysFromCivil(f.year, f.month, f.day);  // [-657434, 2958465]
    const int32_t s = f.hour * 3600 + f.minute * 60 + f.second;          // [0, 86399]
    const double t = s * kDaysPerSecond;
    return DateTime{d >= 0 ? static_cast<double>(d) + t : static_cast<double>(d) - t};
}

DateTime DateTime::fromText(std::string_view text) {
    const std::string plain = plainWidth(text);
    if (plain.empty()) return DateTime{Lowest};

    FieldReader r(plain);
    CalendarFields f;
    f.year = r.number(4);
    r.skipSeparator(kYearChar, false);
    f.month = r.number(2);
    r.skipSeparator(kMonthChar, false);
    f.day = r.number(2);
    r.skipSeparator(kDayChar, true);
    f.hour = r.number(2);
    r.skipSeparator(kHourChar, false);
    f.minute = r.number(2);
    r.skipSeparator(kMinuteChar, false);
    f.second = r.number(2);
    if (!r.endsWell() || !isValid(f)) return DateTime{Lowest};
    return compose(f);
}

std::string DateTime::toText(DateTime value) {
    const CalendarFields f = decompose(value);
    std::string out;
    out.reserve(26);
    appendNumber(out, f.year, kYearChar);
    appendNumber(out, f.month, kMonthChar);
    appendNumber(out, f.day, kDayChar);
    if (f.second != 0) {
        appendNumber(out, f.hour, kHourChar);
        appendNumber(out, f.minute, kMinuteChar);
        appendNumber(out, f.second, kSecondChar);
    } else if (f.minute != 0) {
        appendNumber(out, f.hour, kHourChar);
        appendNumber(out, f.minute, kMinuteChar);
    } else if (f.hour != 0) {
        appendNumber(out, f.hour, kHourChar);
    }
    return out;
}

DateTime DateTime::add(DateTime value, int32_t unit, int32_t amount) {
    if (unit < 1) unit = 1;
    if (unit > 8) unit = 8;
    if (amount == 0) return value;
    const double v = clamp(value.days);

    const auto u = static_cast<DateTimeUnit>(unit);
    if (u == DateTimeUnit::Year || u == DateTimeUnit::Quarter || u == DateTimeUnit::Month) {
        CalendarFields f = decompose(DateTime{v});
        int64_t year = f.year;  // 100 .. 9999 before, within ±2^31 after
        int64_t month = f.month;
        if (u == DateTimeUnit::Year) {
            year += amount;
        } else {
            month += static_cast<int64_t>(amount) * (u == DateTimeUnit::Quarter ? 3 : 1);
        }
        // Back into 1 .. 12, carrying whole years.
        const int64_t zeroBased = month - 1;
        const int64_t carry = zeroBased >= 0 ? zeroBased / 12 : -((-zeroBased + 11) / 12);
        year += carry;
        month -= carry * 12;  // [1, 12]
        if (year < 100) year = 100;
        if (year > 9999) year = 9999;
        f.year = static_cast<int32_t>(year);
        f.month = static_cast<int32_t>(month);
        const int32_t length = calendar::daysInMonth(f.year, f.month);
        if (f.day > length) f.day = length;
        return compose(f);
    }

    const double a = std::fabs(static_cast<double>(amount));  // [1, 2^31]
    double span = 0;
    switch (u) {
        case DateTimeUnit::Week: span = a * 7; break;
        case DateTimeUnit::Day: span = a; break;
        case DateTimeUnit::Hour: span = a * kDaysPerHour; break;
        case DateTimeUnit::Minute: span = a * kDaysPerMinute; break;
        default: span = a * kDaysPerSecond; break;
    }
    const double linear = toLinear(v);
    return DateTime{fromLinear(amount > 0 ? linear + span : linear - span)};
}
