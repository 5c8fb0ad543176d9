// Drives the Windows program for the end-to-end tests: starts it, finds its
// windows, reads what the user sees, sends keys and clicks, and reads the
// exit code. One command per line on standard input, one answer line each.
//   start PATH             -> PID n
//   window                 -> WINDOW none | WINDOW visible l t r b style exstyle title-hex
//   text ID                -> TEXT hex        (UTF-8 of the control's text)
//   rect ID                -> RECT l t r b    (in the window's client area)
//   focus                  -> FOCUS id
//   foreground             -> OK | FAIL       (brings the window to the front)
//   key VK [shift|alt|ctrl]-> OK              (real keyboard input)
//   click ID               -> OK              (the button is clicked)
//   close                  -> OK              (Close from the system menu / close box)
//   box                    -> BOX none | BOX title-hex text-hex
//   boxok                  -> OK
//   wait MS                -> EXIT code | RUNNING
//   screen                 -> SCREEN cx cy
//   settime                -> SETTIME ok|refused  (asks Wine to move the clock by 10 days)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

PROCESS_INFORMATION process{};

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string hex(const std::string& s) {
    std::string out;
    char b[3];
    for (unsigned char c : s) {
        std::snprintf(b, sizeof b, "%02x", c);
        out += b;
    }
    return out.empty() ? "-" : out;
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 511);
    return buffer;
}

std::wstring classOf(HWND hwnd) {
    wchar_t buffer[128] = {};
    GetClassNameW(hwnd, buffer, 127);
    return buffer;
}

struct Search {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK findOfProcess(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == process.dwProcessId && classOf(hwnd) == s->className) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND find(const wchar_t* className) {
    Search s{className, nullptr};
    EnumWindows(findOfProcess, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND mainWindow() { return find(L"NetClockWindow"); }

void keyEvent(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

void answer(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int main() {
    char line[1024];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        char command[32] = {};
        char arg[1000] = {};
        char arg2[32] = {};
        std::sscanf(line, "%31s %999s %31s", command, arg, arg2);
        const std::string c = command;
        HWND w = mainWindow();
        if (c == "start") {
            STARTUPINFOA si{};
            si.cb = sizeof si;
            std::string cmd = std::string("\"") + arg + "\"";
            if (!CreateProcessA(arg, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process)) {
                answer("PID 0");
            } else {
                answer("PID " + std::to_string(process.dwProcessId));
            }
        } else if (c == "window") {
            if (w == nullptr) {
                answer("WINDOW none");
                continue;
            }
            RECT r;
            GetWindowRect(w, &r);
            char b[200];
            std::snprintf(b, sizeof b, "WINDOW %d %ld %ld %ld %ld %lx %lx ", IsWindowVisible(w) ? 1 : 0, r.left, r.top,
                          r.right, r.bottom, static_cast<unsigned long>(GetWindowLongW(w, GWL_STYLE)),
                          static_cast<unsigned long>(GetWindowLongW(w, GWL_EXSTYLE)));
            answer(b + hex(utf8(textOf(w))));
        } else if (c == "text") {
            answer("TEXT " + hex(utf8(textOf(GetDlgItem(w, std::atoi(arg))))));
        } else if (c == "rect") {
            HWND child = GetDlgItem(w, std::atoi(arg));
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
            char b[100];
            std::snprintf(b, sizeof b, "RECT %ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
            answer(b);
        } else if (c == "focus") {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info);
            answer("FOCUS " + std::to_string(info.hwndFocus != nullptr ? GetDlgCtrlID(info.hwndFocus) : 0));
        } else if (c == "foreground") {
            answer(SetForegroundWindow(w) ? "OK" : "FAIL");
        } else if (c == "key") {
            const WORD vk = static_cast<WORD>(std::strtol(arg, nullptr, 0));
            const std::string mod = arg2;
            const WORD modifier = mod == "shift" ? VK_SHIFT : mod == "alt" ? VK_MENU : mod == "ctrl" ? VK_CONTROL : 0;
            if (modifier) keyEvent(modifier, false);
            keyEvent(vk, false);
            keyEvent(vk, true);
            if (modifier) keyEvent(modifier, true);
            answer("OK");
        } else if (c == "click") {
            PostMessageW(GetDlgItem(w, std::atoi(arg)), BM_CLICK, 0, 0);
            answer("OK");
        } else if (c == "close") {
            PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
            answer("OK");
        } else if (c == "box") {
            HWND box = find(L"#32770");
            if (box == nullptr) {
                answer("BOX none");
                continue;
            }
            std::wstring text;
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                if (classOf(child) == L"Static") text += textOf(child);
            }
            answer("BOX " + hex(utf8(textOf(box))) + " " + hex(utf8(text)));
        } else if (c == "boxok") {
            PostMessageW(find(L"#32770"), WM_COMMAND, IDOK, 0);
            answer("OK");
        } else if (c == "wait") {
            if (process.hProcess == nullptr ||
                WaitForSingleObject(process.hProcess, static_cast<DWORD>(std::atoi(arg))) != WAIT_OBJECT_0) {
                answer("RUNNING");
                continue;
            }
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            answer("EXIT " + std::to_string(code));
        } else if (c == "screen") {
            answer("SCREEN " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
                   std::to_string(GetSystemMetrics(SM_CYSCREEN)));
        } else if (c == "settime") {
            SYSTEMTIME st;
            GetLocalTime(&st);
            FILETIME ft;
            SystemTimeToFileTime(&st, &ft);
            ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
            t.QuadPart += 10ULL * 24 * 3600 * 10000000ULL;
            ft.dwLowDateTime = t.LowPart;
            ft.dwHighDateTime = t.HighPart;
            FileTimeToSystemTime(&ft, &st);
            answer(SetLocalTime(&st) ? "SETTIME ok" : "SETTIME refused");
        } else {
            answer("ERROR unknown command");
        }
    }
    return 0;
}
