// The exchange through libcurl, which connects (name resolution, no proxy,
// connect time-out); the request and the reading of the response head are
// done here on the connection, so that both come out exactly as WinINet
// makes them: the same request bytes, and the header block as WinINet builds
// it (status line as version, code and reason joined by single spaces, each
// header as "Name: value" with spaces trimmed from both, lines without a
// colon dropped, every line ending in CR LF, closed by an empty line).
// Redirects to plain HTTP are followed as WinINet follows them.
#include <curl/curl.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "net/NetworkTime.h"

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// WinINet's defaults on Windows: 60 s to connect, 30 s to wait for data.
constexpr long kConnectTimeoutMs = 60000;
constexpr int kReceiveTimeoutMs = 30000;
constexpr int kMaxRedirects = 16;
// A response head longer than this cannot give a block that fits anyway.
constexpr size_t kMaxHeadBytes = 64 * 1024;

struct Response {
    std::string statusLine;            // normalized
    int statusCode = 0;
    std::vector<std::string> headers;  // "Name: value"
    std::string location;
};

std::string trimSpaces(const std::string& s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// "HTTP/1.1 200 OK" -> version, code and reason joined again by single spaces.
std::string normalizeStatus(const std::string& line, int& code) {
    const size_t sp1 = line.find(' ');
    const std::string version = line.substr(0, sp1);
    std::string codeText;
    std::string reason;
    if (sp1 != std::string::npos) {
        const size_t sp2 = line.find(' ', sp1 + 1);
        codeText = line.substr(sp1 + 1, sp2 == std::string::npos ? std::string::npos : sp2 - sp1 - 1);
        if (sp2 != std::string::npos) reason = line.substr(sp2 + 1);
    }
    code = std::atoi(codeText.c_str());
    return version + " " + codeText + " " + reason;
}

// Splits the received head into lines (LF or CR LF) and builds the response;
// a line cut off by the end of the data is dropped, as WinINet drops it.
Response parseHead(const std::string& head) {
    Response r;
    size_t pos = 0;
    bool first = true;
    while (pos < head.size()) {
        const size_t end = head.find('\n', pos);
        if (end == std::string::npos) break;
        std::string line = head.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (first) {
            r.statusLine = normalizeStatus(line, r.statusCode);
            first = false;
            continue;
        }
        if (line.empty()) break;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string name = trimSpaces(line.substr(0, colon));
        const std::string value = trimSpaces(line.substr(colon + 1));
        if (name == "Location" || name == "location") r.location = value;
        r.headers.push_back(name + ": " + value);
    }
    return r;
}

// Where the head ends (just past its empty line), or npos.
size_t headEnd(const std::string& data) {
    const size_t crlf = data.find("\r\n\r\n");
    const size_t lf = data.find("\n\n");
    if (crlf == std::string::npos && lf == std::string::npos) return std::string::npos;
    if (crlf == std::string::npos) return lf + 2;
    if (lf == std::string::npos) return crlf + 4;
    return crlf + 4 < lf + 2 ? crlf + 4 : lf + 2;
}

bool waitFor(curl_socket_t socket, short events, int timeoutMs) {
    pollfd p{socket, events, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

class Connection {
public:
    Connection(const std::string& host, long port) : curl_(curl_easy_init()) {
        if (curl_ == nullptr) return;
        const std::string url = "http://" + host + ":" + std::to_string(port) + "/";
        curl_easy_setopt(curl_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl_, CURLOPT_CONNECT_ONLY, 1L);
        curl_easy_setopt(curl_, CURLOPT_PROXY, "");  // direct, whatever the environment says
        curl_easy_setopt(curl_, CURLOPT_NOPROXY, "*");
        curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl_, CURLOPT_TCP_NODELAY, 0L);  // the request goes out in one send
        curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
        if (curl_easy_perform(curl_) != CURLE_OK) return;
        curl_easy_getinfo(curl_, CURLINFO_ACTIVESOCKET, &socket_);
        connected_ = socket_ != CURL_SOCKET_BAD;
    }
    ~Connection() {
        if (curl_ != nullptr) curl_easy_cleanup(curl_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool sendAll(const std::string& bytes) {
        if (!connected_) return false;
        size_t sent = 0;
        while (sent < bytes.size()) {
            size_t n = 0;
            const CURLcode rc = curl_easy_send(curl_, bytes.data() + sent, bytes.size() - sent, &n);
            if (rc == CURLE_AGAIN) {
                if (!waitFor(socket_, POLLOUT, kReceiveTimeoutMs)) return false;
                continue;
            }
            if (rc != CURLE_OK) return false;
            sent += n;
        }
        return true;
    }

    // Reads until the head is complete, the peer closes, an error occurs or
    // no data came for the receive time-out. Returns what arrived of the head.
    std::string receiveHead() {
        std::string data;
        char buffer[4096];
        while (connected_ && data.size() <= kMaxHeadBytes) {
            // Wait first: right after the request nothing has arrived yet.
            if (!waitFor(socket_, POLLIN, kReceiveTimeoutMs)) return {};
            size_t n = 0;
            const CURLcode rc = curl_easy_recv(curl_, buffer, sizeof buffer, &n);
            if (rc == CURLE_AGAIN) continue;
            if (rc != CURLE_OK) break;
            if (n == 0) break;  // closed by the server
            data.append(buffer, n);
            const size_t end = headEnd(data);
            if (end != std::string::npos) return data.substr(0, end);
        }
        return data.size() > kMaxHeadBytes ? std::string() : data;
    }

private:
    CURL* curl_;
    curl_socket_t socket_ = CURL_SOCKET_BAD;
    bool connected_ = false;
};

std::string hostHeader(const std::string& host, long port) {
    return port == 80 ? host : host + ":" + std::to_string(port);
}

// One GET with the header lines WinINet writes: Host and User-Agent (in
// the other order after a redirect), nothing else.
bool exchange(const std::string& host, long port, const std::string& path, bool redirected, Response& r) {
    Connection c(host, port);
    const std::string hostLine = "Host: " + hostHeader(host, port) + "\r\n";
    const std::string agentLine = std::string("User-Agent: ") + kUserAgent + "\r\n";
    const std::string request = "GET " + path + " HTTP/1.1\r\n" +
                                (redirected ? agentLine + hostLine : hostLine + agentLine) + "\r\n";
    if (!c.sendAll(request)) return false;
    for (;;) {
        const std::string head = c.receiveHead();
        r = parseHead(head);
        if (r.statusLine.empty()) return false;
        // An interim 100 Continue is followed by the real response.
        if (r.statusCode != 100) return true;
    }
}

bool isRedirect(int code) { return code == 301 || code == 302 || code == 303 || code == 307; }

// Where a Location points when it is plain HTTP; an https:// target, or
// anything else, is not followed.
bool redirectTarget(const std::string& location, std::string& host, long& port, std::string& path) {
    if (location.empty()) return false;
    if (location[0] == '/') {
        path = location;
        return true;
    }
    static const std::string kScheme = "http://";
    if (location.compare(0, kScheme.size(), kScheme) != 0) return false;
    const std::string rest = location.substr(kScheme.size());
    const size_t slash = rest.find('/');
    const std::string authority = rest.substr(0, slash);
    path = slash == std::string::npos ? "/" : rest.substr(slash);
    const size_t colon = authority.rfind(':');
    if (colon != std::string::npos) {
        host = authority.substr(0, colon);
        port = std::atol(authority.c_str() + colon + 1);
    } else {
        host = authority;
        port = 80;
    }
    return !host.empty() && port > 0 && port < 65536;
}

std::string blockOf(const Response& r) {
    std::string block = r.statusLine + "\r\n";
    for (const auto& h : r.headers) block += h + "\r\n";
    block += "\r\n";
    return block;
}

}  // namespace

std::string FetchResponseHeadersFrom(const std::string& host, uint16_t port) {
    static const bool initialized = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    const std::string failed(kHeaderBufferSize, ' ');
    if (!initialized) return failed;

    std::string currentHost = host;
    long currentPort = port;
    std::string path = "/";
    Response r;
    for (int hop = 0; hop <= kMaxRedirects; ++hop) {
        if (!exchange(currentHost, currentPort, path, hop > 0, r)) return failed;
        if (!isRedirect(r.statusCode) || !redirectTarget(r.location, currentHost, currentPort, path)) break;
    }
    const std::string block = blockOf(r);
    // It must fit, with its zero byte, in a buffer of 1024 bytes.
    return block.size() < kHeaderBufferSize ? block : failed;
}

void ReleaseNetworkLibraries() {}
