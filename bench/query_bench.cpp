// Wall time of one network-time query against a server on loopback, beside
// the bare request floor: a minimal socket client that sends the same
// request bytes and reads to the end of the response head.
// Usage: query_bench PORT RUNS   (prints "query_ms ..." and "floor_ms ...")
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "net/NetworkTime.h"
#include "time/SystemClock.h"

namespace {

using Clock = std::chrono::steady_clock;

bool bareExchange(uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const std::string request = "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n\r\n";
    ok = ok && send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size());
    std::string head;
    char buffer[2048];
    while (ok && head.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return ok && head.find("\r\n\r\n") != std::string::npos;
}

double milliseconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

bool neverSetTheClock(const SystemTimeFields&) { return false; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: query_bench PORT RUNS\n");
        return 2;
    }
    SystemClock::backend().setLocal = neverSetTheClock;
    const auto port = static_cast<uint16_t>(std::atoi(argv[1]));
    const int runs = std::atoi(argv[2]);
    headerSource() = [port] { return FetchResponseHeadersFrom("127.0.0.1", port); };

    std::vector<double> query, floor;
    QueryNetworkTime(0);  // warm up both paths once
    bareExchange(port);
    for (int i = 0; i < runs; ++i) {
        // Alternate, so that both see the same state of the machine.
        auto t0 = Clock::now();
        const std::string text = QueryNetworkTime(0);
        auto t1 = Clock::now();
        if (text.empty()) {
            std::fprintf(stderr, "query_bench: the query failed\n");
            return 1;
        }
        query.push_back(milliseconds(t0, t1));
        t0 = Clock::now();
        if (!bareExchange(port)) {
            std::fprintf(stderr, "query_bench: the bare request failed\n");
            return 1;
        }
        t1 = Clock::now();
        floor.push_back(milliseconds(t0, t1));
    }
    std::printf("query_ms %.3f\nfloor_ms %.3f\n", median(query), median(floor));
    return 0;
}
