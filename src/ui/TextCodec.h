// Conversions at the user-interface edge. Inside the program every text is
// GBK (code page 936); the window systems want UTF-16 or UTF-8.
#pragma once

#include <string>
#include <string_view>

// Bytes that are not valid GBK come out as a replacement character (U+FFFD
// on Linux), never dropped silently.
std::string gbkToUtf8(std::string_view gbk);
// What GBK cannot hold comes out as '?' (on Linux one per byte of it).
std::string utf8ToGbk(std::string_view utf8);
