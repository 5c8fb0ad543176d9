// UTF-16 for the wide Win32 functions. The program's texts are GBK whatever
// the system's ANSI code page is, so they are converted from 936 explicitly.
#pragma once

#include <string>
#include <string_view>

constexpr unsigned kGbkCodePage = 936;

std::wstring widen(std::string_view text, unsigned codePage = kGbkCodePage);
std::string narrow(std::wstring_view text, unsigned codePage = kGbkCodePage);
