// Text operations on GBK byte strings. Positions count bytes from 1; a byte of
// 0x80 or above begins a two-byte character, and searches never start an
// occurrence on the second byte of one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Position of the first occurrence of pattern at or after start, or -1.
// A start below 1 counts as 1. An empty pattern occurs nowhere.
int TextPosition(std::string_view text, std::string_view pattern, int start = 1);

// The length bytes beginning at start; empty for a start outside the text or
// a length of 0 or less; cut at the end of the text.
std::string TextSlice(std::string_view text, int start, int length);

// Without the runs of spaces and full-width spaces (A1 A1) at both ends.
std::string StripSpaces(std::string_view text);

// The members between delimiters. Two delimiters in a row give an empty
// member, a trailing delimiter adds none, the empty text has none.
std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter);
