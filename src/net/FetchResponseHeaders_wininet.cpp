// The exchange through WinINet, bound by name at the first call of each
// function so that the program is not linked against wininet.dll.
#include <windows.h>

#include <vector>

#include "net/NetworkTime.h"
#include "ui/FatalError.h"

namespace {

using HINTERNET = void*;
using INTERNET_PORT = WORD;

constexpr DWORD kOpenTypeDirect = 1;          // INTERNET_OPEN_TYPE_DIRECT
constexpr DWORD kServiceHttp = 3;             // INTERNET_SERVICE_HTTP
constexpr DWORD kFlagReload = 0x80000000;     // INTERNET_FLAG_RELOAD
constexpr DWORD kQueryRawHeadersCrlf = 22;    // HTTP_QUERY_RAW_HEADERS_CRLF
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr char kLibrary[] = "wininet.dll";

using InternetOpenAFn = HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using InternetConnectAFn = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD,
                                              DWORD_PTR);
using HttpOpenRequestAFn = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR);
using HttpSendRequestAFn = BOOL(WINAPI*)(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD);
using HttpQueryInfoAFn = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
using InternetCloseHandleFn = BOOL(WINAPI*)(HINTERNET);

std::vector<HMODULE>& boundLibraries() {
    static std::vector<HMODULE> libraries;
    return libraries;
}

std::string exeFolder() {
    char path[MAX_PATH + 1] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    const size_t slash = folder.find_last_of('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

// Loads wininet.dll from the program's folder, else through the standard
// search, and looks the function up. Fatal when either fails.
FARPROC bindByName(const char* function) {
    HMODULE library = LoadLibraryA((exeFolder() + "\\" + kLibrary).c_str());
    if (library == nullptr) library = LoadLibraryA(kLibrary);
    if (library == nullptr) RaiseFatalError(BindingFailedMessage(kLibrary, function));
    const FARPROC address = GetProcAddress(library, function);
    if (address == nullptr) {
        FreeLibrary(library);
        RaiseFatalError(BindingFailedMessage(kLibrary, function));
    }
    boundLibraries().push_back(library);
    return address;
}

template <typename Fn>
Fn bound(Fn& cache, const char* function) {
    if (cache == nullptr) cache = reinterpret_cast<Fn>(reinterpret_cast<void*>(bindByName(function)));
    return cache;
}

InternetOpenAFn internetOpen = nullptr;
InternetConnectAFn internetConnect = nullptr;
HttpOpenRequestAFn httpOpenRequest = nullptr;
HttpSendRequestAFn httpSendRequest = nullptr;
HttpQueryInfoAFn httpQueryInfo = nullptr;
InternetCloseHandleFn internetCloseHandle = nullptr;

}  // namespace

std::string FetchResponseHeadersFrom(const std::string& host, uint16_t port) {
    // No result is tested: a failed call hands a null handle to the next one,
    // which rejects it, and the buffer keeps its spaces.
    HINTERNET root = bound(internetOpen, "InternetOpenA")(kUserAgent, kOpenTypeDirect, nullptr, nullptr, 0);
    HINTERNET connection =
        bound(internetConnect, "InternetConnectA")(root, host.c_str(), port, "", "", kServiceHttp, 0, 0);
    HINTERNET request = bound(httpOpenRequest, "HttpOpenRequestA")(connection, "", "/", "HTTP/1.1", nullptr,
                                                                    nullptr, kFlagReload, 0);
    bound(httpSendRequest, "HttpSendRequestA")(request, nullptr, 0, nullptr, 0);

    std::string buffer(kHeaderBufferSize, ' ');  // and its terminating zero
    DWORD length = kHeaderBufferSize;
    bound(httpQueryInfo, "HttpQueryInfoA")(request, kQueryRawHeadersCrlf, buffer.data(), &length, nullptr);

    auto close = bound(internetCloseHandle, "InternetCloseHandle");
    close(request);
    close(connection);
    close(root);

    buffer.resize(buffer.find('\0') == std::string::npos ? buffer.size() : buffer.find('\0'));
    return buffer;
}

void ReleaseNetworkLibraries() {
    for (HMODULE library : boundLibraries()) FreeLibrary(library);
    boundLibraries().clear();
    internetOpen = nullptr;
    internetConnect = nullptr;
    httpOpenRequest = nullptr;
    httpSendRequest = nullptr;
    httpQueryInfo = nullptr;
    internetCloseHandle = nullptr;
}
