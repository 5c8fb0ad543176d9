// The network time: one HTTP exchange with a public web server, whose Date
// header gives the time in UTC+8.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The public web server asked for the time, on port 80 over plain HTTP.
inline constexpr const char* kTimeServerHost = "captive.apple.com";
inline constexpr uint16_t kTimeServerPort = 80;

// The header block fetched for a failed exchange: 1024 spaces.
inline constexpr size_t kHeaderBufferSize = 1024;

// The raw response header block of GET / from the time server (status line
// and header lines, each ending in CR LF, closed by an empty line), or 1024
// spaces when the exchange failed or the block does not fit in 1023 bytes.
// Blocks the calling thread and processes no window messages.
std::string FetchResponseHeaders();

// The same exchange with any server; defined once per platform
// (FetchResponseHeaders_wininet.cpp, FetchResponseHeaders_curl.cpp).
std::string FetchResponseHeadersFrom(const std::string& host, uint16_t port);

// Releases the libraries bound by name for the exchange (none on Linux).
void ReleaseNetworkLibraries();

// The network time as its text form, or the empty text when the response
// held no usable Date header. Flag 1, and only 1, also sets the clock.
std::string QueryNetworkTime(int32_t flag = 0);

// Where QueryNetworkTime gets its header block; FetchResponseHeaders unless a
// test substitutes another source.
std::function<std::string()>& headerSource();
