#include <array>
#include <string_view>

#include "net/NetworkTime.h"
#include "net/TextOps.h"
#include "time/DateTime.h"
#include "time/SystemClock.h"

namespace {

// Month abbreviations as servers write them; anything else reads as December.
std::string monthText(const std::string& name) {
    static constexpr std::array<std::string_view, 11> kNames = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov"};
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (name == kNames[i]) return std::to_string(i + 1);
    }
    return "12";
}

// The Date value moved to UTC+8 and advanced by the whole seconds since start.
DateTime networkTime(const std::string& built, int32_t start) {
    DateTime t = DateTime::fromText(built);
    t = DateTime::add(t, DateTimeUnit::Hour, 8);
    // Modulo 2^32, so a query across the counter's wrap still measures its
    // own length (0 .. 4294967295 ms).
    const uint32_t elapsedMs = static_cast<uint32_t>(SystemClock::uptimeMs()) - static_cast<uint32_t>(start);
    const auto seconds = static_cast<int32_t>(elapsedMs / 1000.0);  // toward zero
    return DateTime::add(t, DateTimeUnit::Second, seconds);
}

}  // namespace

std::string FetchResponseHeaders() { return FetchResponseHeadersFrom(kTimeServerHost, kTimeServerPort); }

std::function<std::string()>& headerSource() {
    static std::function<std::string()> source = FetchResponseHeaders;
    return source;
}

std::string QueryNetworkTime(int32_t flag) {
    const int32_t start = SystemClock::uptimeMs();
    const std::string block = headerSource()();
    if (block.empty()) return {};

    const int d = TextPosition(block, "Date:", 1);
    const int p = d + 5;
    if (p == 4) return {};
    const int e = TextPosition(block, "\r\n", p);
    const std::string value = StripSpaces(TextSlice(block, p, e - p));
    const std::vector<std::string> members = SplitFields(value, " ");
    if (members.size() != 6) return {};

    // e.g. "1994-11-06 08:49:37": year, month unpadded, day as written, time.
    const std::string built = members[3] + "-" + monthText(members[2]) + "-" + members[1] + " " + members[4];
    if (flag == 1) SystemClock::set(networkTime(built, start));
    return DateTime::toText(networkTime(built, start));
}
