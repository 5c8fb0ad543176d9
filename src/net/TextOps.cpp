#include "net/TextOps.h"

namespace {

bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Byte index of the first occurrence at or after the character that begins
// at index from, or npos. A lead byte at the very end stops the search.
size_t findFrom(std::string_view text, std::string_view pattern, size_t from) {
    if (pattern.empty()) return std::string_view::npos;
    size_t i = from;
    while (i < text.size()) {
        const bool lead = isLeadByte(text[i]);
        if (lead && i + 1 >= text.size()) break;
        if (text.compare(i, pattern.size(), pattern) == 0) return i;
        i += lead ? 2 : 1;
    }
    return std::string_view::npos;
}

bool isSpaceAt(std::string_view text, size_t i, size_t& width) {
    if (text[i] == ' ') {
        width = 1;
        return true;
    }
    if (i + 1 < text.size() && text[i] == '\xA1' && text[i + 1] == '\xA1') {
        width = 2;
        return true;
    }
    return false;
}

}  // namespace

int TextPosition(std::string_view text, std::string_view pattern, int start) {
    if (start < 1) start = 1;
    if (static_cast<size_t>(start) > text.size()) return -1;
    const size_t at = findFrom(text, pattern, static_cast<size_t>(start) - 1);
    return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

std::string TextSlice(std::string_view text, int start, int length) {
    if (start < 1 || static_cast<size_t>(start) > text.size() || length <= 0) return {};
    return std::string(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(length)));
}

std::string StripSpaces(std::string_view text) {
    // Walk character by character so that A1 A1 is only seen where it is a
    // whole character, never across two.
    size_t begin = text.size();
    size_t end = 0;
    size_t i = 0;
    while (i < text.size()) {
        size_t width = 1;
        if (!isSpaceAt(text, i, width)) {
            width = isLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
            if (begin == text.size()) begin = i;
            end = i + width;
        }
        i += width;
    }
    if (begin >= end) return {};
    return std::string(text.substr(begin, end - begin));
}

std::vector<std::string> SplitFields(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> members;
    if (text.empty()) return members;
    size_t from = 0;
    for (;;) {
        const size_t at = findFrom(text, delimiter, from);
        if (at == std::string_view::npos) break;
        members.emplace_back(text.substr(from, at - from));
        from = at + delimiter.size();
    }
    if (from < text.size()) members.emplace_back(text.substr(from));
    return members;
}
