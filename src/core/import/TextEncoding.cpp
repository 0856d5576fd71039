#include "core/import/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

#include "core/grid/PrintfText.h"

namespace n4 {

namespace {

// Converts through a small buffer, appending to an output that was reserved
// but not yet touched, so the memory in use is the input plus the text
// written so far. On failure errorOffset is the offset of the byte that could
// not be read or written.
bool convertText(const char* to, const char* from, std::string_view in, std::string& out,
                 size_t& errorOffset) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        errorOffset = 0;
        return false;
    }
    out.clear();
    // Shift-JIS and UTF-16 need at most one and a half bytes of UTF-8 per
    // byte, and UTF-8 no more bytes of Shift-JIS than it has.
    out.reserve(in.size() + in.size() / 2 + 16);
    char chunk[1 << 16];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    bool ok = true;
    while (srcLeft > 0) {
        char* dst = chunk;
        size_t dstLeft = sizeof chunk;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(chunk, sizeof chunk - dstLeft);
        if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
        errorOffset = static_cast<size_t>(src - in.data());
        ok = false;
        break;
    }
    iconv_close(cd);
    if (!ok) std::string().swap(out);
    return ok;
}

std::optional<std::string> convert(const char* to, const char* from, const std::string& in) {
    std::string out;
    size_t errorOffset = 0;
    if (!convertText(to, from, in, out, errorOffset)) return std::nullopt;
    return out;
}

struct Utf8Scan {
    size_t firstBad = std::string::npos;
    size_t multiByte = 0; // well-formed sequences of two or more bytes
    size_t bad = 0;
};

size_t sequenceLength(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    const size_t n = c < 0x80                   ? 1
                     : (c >= 0xC2 && c <= 0xDF) ? 2
                     : (c & 0xF0) == 0xE0       ? 3
                     : (c >= 0xF0 && c <= 0xF4) ? 4
                                                : 0;
    if (n == 0 || i + n > s.size()) return 0;
    if (n == 1) return 1;
    // The second byte's range depends on the lead (Unicode's table of
    // well-formed sequences): no overlong forms, no surrogates, nothing above
    // U+10FFFF.
    const auto second = static_cast<unsigned char>(s[i + 1]);
    const unsigned char low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
    if (second < low || second > high) return 0;
    for (size_t k = 2; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    return n;
}

Utf8Scan scanUtf8(std::string_view s) {
    Utf8Scan scan;
    for (size_t i = 0; i < s.size();) {
        const size_t n = sequenceLength(s, i);
        if (n == 0) {
            if (scan.firstBad == std::string::npos) scan.firstBad = i;
            ++scan.bad;
            ++i;
            continue;
        }
        if (n > 1) ++scan.multiByte;
        i += n;
    }
    return scan;
}

bool hasShiftJisDoubleByte(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    });
}

int lineOfUtf16Offset(std::string_view s, size_t offset, bool littleEndian) {
    int line = 1;
    for (size_t i = 2; i + 1 < s.size() && i < offset; i += 2) {
        const auto lo = static_cast<unsigned char>(s[littleEndian ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(s[littleEndian ? i + 1 : i]);
        if (hi != 0) continue;
        if (lo == '\n') ++line;
        if (lo == '\r') {
            const size_t next = i + 2;
            const bool lf = next + 1 < s.size() && s[littleEndian ? next : next + 1] == '\n' &&
                            s[littleEndian ? next + 1 : next] == '\0';
            if (!lf) ++line;
        }
    }
    return line;
}

std::string badByteMessage(int line, unsigned char byte) {
    return std::to_string(line) + "行目: 文字として読めないバイト（" + printfText("0x%02X", byte) +
           "）があります。UTF-8・Shift-JIS・UTF-16（BOM 付き）のどれかで保存したファイルを指定し"
           "てください。";
}

DecodedText refuseAt(std::string_view bytes, size_t offset) {
    DecodedText d;
    const unsigned char byte = offset < bytes.size() ? bytes[offset] : 0;
    const int line = lineOfOffset(bytes, offset);
    d.message = byte == 0
                    ? std::to_string(line) +
                          "行目: 文字ではないバイト（0x00）があります。当選データの CSV・TSV・"
                          "JSON でも Jet 形式のデータベースでもありません。"
                    : badByteMessage(line, byte);
    return d;
}

DecodedText decodeUtf16(std::string_view bytes, bool littleEndian) {
    DecodedText d;
    size_t bad = 0;
    const char* from = littleEndian ? "UTF-16LE" : "UTF-16BE";
    if (!convertText("UTF-8", from, bytes.substr(2), d.text, bad)) {
        const size_t at = bad + 2;
        d.message = std::to_string(lineOfUtf16Offset(bytes, at, littleEndian)) +
                    "行目: UTF-16 として読めない文字があります。";
        return d;
    }
    d.ok = true;
    d.encoding = "UTF-16";
    return d;
}

} // namespace

bool isValidUtf8(const std::string& s) {
    return scanUtf8(s).bad == 0;
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

int lineOfOffset(std::string_view text, size_t offset) {
    int line = 1;
    const size_t end = std::min(offset, text.size());
    for (size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') ++line;
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) ++line;
    }
    return line;
}

DecodedText decodeHistoryText(std::string bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return decodeUtf16(bytes, true);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return decodeUtf16(bytes, false);
    DecodedText d;
    if (const size_t nul = bytes.find('\0'); nul != std::string::npos) return refuseAt(bytes, nul);
    const bool bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const Utf8Scan scan = scanUtf8(bytes);
    if (scan.bad == 0) {
        // The BOM is dropped in place: no second buffer.
        if (bom) bytes.erase(0, 3);
        d.ok = true;
        d.encoding = bom ? "UTF-8（BOM 付き）" : "UTF-8";
        d.text = std::move(bytes);
        return d;
    }
    // Mostly good UTF-8 with a damaged byte is damaged UTF-8, not Shift-JIS.
    if (bom || scan.multiByte > scan.bad) return refuseAt(bytes, scan.firstBad);
    size_t bad = 0;
    if (!convertText("UTF-8", "CP932", bytes, d.text, bad)) return refuseAt(bytes, bad);
    // Only lone half-width kana would be a stray byte in an ASCII file.
    if (!hasShiftJisDoubleByte(bytes)) return refuseAt(bytes, scan.firstBad);
    d.ok = true;
    d.encoding = "Shift-JIS";
    return d;
}

} // namespace n4
