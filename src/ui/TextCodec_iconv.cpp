#include <iconv.h>

#include <cerrno>

#include "ui/TextCodec.h"

namespace {

// Converts with iconv, replacing each sequence it cannot convert.
std::string convert(std::string_view in, const char* to, const char* from, std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    char buffer[256];
    auto* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: replace one byte and go on.
            out.append(replacement);
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) { return convert(gbk, "UTF-8", "GBK", "\xEF\xBF\xBD"); }

std::string utf8ToGbk(std::string_view utf8) { return convert(utf8, "GBK", "UTF-8", "?"); }
