// Runs header fetches and network-time queries against test servers and
// prints them as hex, so that the Windows and the Linux build can be
// compared byte for byte. Reads one line per exchange from standard input,
// "HOST PORT" for a test server or "default" for the program's own time
// server, and answers each with two lines:
//   BLOCK <hex of the header block>
//   QUERY <hex of QueryNetworkTime(0)'s text>   (a second exchange)
// A line "block HOST PORT" asks for the header block alone.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/NetworkTime.h"
#include "time/SystemClock.h"

namespace {

void printHex(const char* label, const std::string& bytes) {
    std::printf("%s ", label);
    for (unsigned char c : bytes) std::printf("%02x", c);
    std::printf("\n");
}

bool refuseClockChange(const SystemTimeFields&) { return false; }

}  // namespace

int main() {
    // The probe never moves the clock, whatever it is asked.
    SystemClock::backend().setLocal = refuseClockChange;

    char host[256];
    while (std::scanf("%255s", host) == 1) {
        std::string h = host;
        const bool blockOnly = h == "block";
        if (blockOnly && std::scanf("%255s", host) == 1) h = host;
        if (h == "default") {
            headerSource() = FetchResponseHeaders;
        } else {
            unsigned port = 0;
            if (std::scanf("%u", &port) != 1) return 2;
            headerSource() = [h, port] { return FetchResponseHeadersFrom(h, static_cast<uint16_t>(port)); };
        }
        printHex("BLOCK", headerSource()());
        if (!blockOnly) printHex("QUERY", QueryNetworkTime(0));
        std::fflush(stdout);
    }
    return 0;
}
