#include <windows.h>

#include "ui/TextCodec.h"
#include "ui/win32/Wide.h"

std::wstring widen(std::string_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
    return out;
}

std::string narrow(std::wstring_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string gbkToUtf8(std::string_view gbk) { return narrow(widen(gbk, kGbkCodePage), CP_UTF8); }
std::string utf8ToGbk(std::string_view utf8) { return narrow(widen(utf8, CP_UTF8), kGbkCodePage); }
