// A bounded random fuzzer for the two places that read outside input: the
// date-time reader and the header-block path of the network-time query.
// Built with AddressSanitizer and UndefinedBehaviorSanitizer; it mutates
// seed inputs for a fixed time and checks invariants on every result.
// Usage: fuzz_driver SECONDS [SEED]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "net/NetworkTime.h"
#include "net/TextOps.h"
#include "time/DateTime.h"
#include "time/SystemClock.h"

namespace {

int failures = 0;

void check(bool ok, const char* what, const std::string& input) {
    if (ok) return;
    ++failures;
    std::fprintf(stderr, "fuzz: %s for input:", what);
    for (unsigned char c : input) std::fprintf(stderr, " %02x", c);
    std::fprintf(stderr, "\n");
}

void fuzzDateTime(const std::string& input) {
    const DateTime t = DateTime::fromText(input);
    check(t.days >= DateTime::Lowest && t.days <= DateTime::Highest + 1, "fromText out of range", input);
    const std::string text = DateTime::toText(t);
    check(!text.empty() && text.size() <= 26, "toText length", input);
    // Every text form reads back as itself.
    check(DateTime::toText(DateTime::fromText(text)) == text, "text form does not read back", input);
    for (int32_t unit = 0; unit <= 9; ++unit) {
        const int32_t amount = input.empty() ? 1 : static_cast<int8_t>(input[0]) * 977;
        const DateTime moved = DateTime::add(t, unit, amount);
        check(!DateTime::toText(moved).empty(), "add gave no text", input);
    }
}

std::string currentBlock;

void fuzzQuery(const std::string& input) {
    currentBlock = input;
    for (int32_t flag : {0, 1}) {
        const std::string result = QueryNetworkTime(flag);
        check(result.size() <= 26, "query result too long", input);
        if (!result.empty()) {
            check(DateTime::toText(DateTime::fromText(result)) == result, "query result unreadable", input);
        }
    }
    const int p = TextPosition(input, "Date:", 1);
    check(p == -1 || (p >= 1 && static_cast<size_t>(p) + 4 <= input.size()), "position out of text", input);
    for (const auto& m : SplitFields(input, " ")) check(m.size() <= input.size(), "member too long", input);
}

const std::vector<std::string> kSeeds = {
    "",
    "2018-2-04 13:33:25",
    "2018\xC4\xEA" "2\xD4\xC2" "4\xC8\xD5" "13\xCA\xB1" "33\xB7\xD6" "25\xC3\xEB",
    "\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB8\xA3\xAD\xA3\xB2\xA3\xAD\xA3\xB4\xA1\xA1\xA3\xB1\xA3\xB3",
    "9999-12-31 23:59:59",
    "100-1-1",
    "20180204133325",
    "HTTP/1.1 200 OK\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nServer: x\r\n\r\n",
    "HTTP/1.1 200 OK\r\nDate:Sun Nov  6 08:49:37 1994\r\n\r\n",
    "Date: \xA1\xA1Sun, 06 Nov 1994 08:49:37 GMT\xA1\xA1\r\n",
};

const std::vector<std::string> kTokens = {
    "Date:", "\r\n", " ", "\xA1\xA1", "-", ":", "/", ".", "\xC4\xEA", "\xD4\xC2", "\xC8\xD5", "\xCA\xB1",
    "\xB7\xD6", "\xC3\xEB", "GMT", "Nov", "Dec", "9999", "0", "99", "\xB0", "\xA3\xB1", "\t",
};

std::string mutate(std::string s, std::mt19937& rng) {
    const int steps = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < steps; ++i) {
        const size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 5) {
            case 0:
                if (!s.empty() && at < s.size()) s[at] = static_cast<char>(rng() & 0xFF);
                break;
            case 1:
                if (!s.empty() && at < s.size()) s.erase(at, 1 + rng() % 3);
                break;
            case 2: s.insert(at, kTokens[rng() % kTokens.size()]); break;
            case 3: s.insert(at, 1, static_cast<char>('0' + rng() % 10)); break;
            default:
                if (!s.empty()) s = s.substr(0, rng() % (s.size() + 1));
                break;
        }
    }
    if (s.size() > 4096) s.resize(4096);
    return s;
}

bool neverSetTheClock(const SystemTimeFields&) { return false; }

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    std::mt19937 rng(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 20181204u);
    // The query's clock changes go nowhere.
    SystemClock::backend().setLocal = neverSetTheClock;
    headerSource() = [] { return currentBlock; };

    std::vector<std::string> corpus = kSeeds;
    long long runs = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until && failures < 10) {
        for (int i = 0; i < 256; ++i) {
            std::string input = mutate(corpus[rng() % corpus.size()], rng);
            fuzzDateTime(input);
            fuzzQuery(input);
            ++runs;
            if (corpus.size() < 4096 && rng() % 64 == 0) corpus.push_back(std::move(input));
        }
    }
    std::printf("fuzz: %lld inputs in %.0f s, %d failures\n", runs, seconds, failures);
    return failures == 0 ? 0 : 1;
}
