#include "data/TextEncoding.h"

#include <cerrno>
#include <iconv.h>

namespace n4 {

namespace {

std::optional<std::string> convert(const char* to, const char* from, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = out.data();
    size_t dstLeft = out.size();
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) return std::nullopt;
    out.resize(out.size() - dstLeft);
    return out;
}

} // namespace

bool isValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= s.size() + (extra == 0)) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += extra + 1;
    }
    return true;
}

// CP932 is the Windows flavour of Shift-JIS the stored files use.
std::optional<std::string> shiftJisToUtf8(const std::string& bytes) {
    return convert("UTF-8", "CP932", bytes);
}

std::optional<std::string> utf8ToShiftJis(const std::string& text) {
    return convert("CP932", "UTF-8", text);
}

std::optional<std::string> decodeUtf8OrShiftJis(const std::string& bytes) {
    if (isValidUtf8(bytes)) {
        if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
        return bytes;
    }
    return shiftJisToUtf8(bytes);
}

} // namespace n4
