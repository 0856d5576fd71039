#include "core/import/HistoryValues.h"

#include <algorithm>
#include <cctype>

#include "core/store/CalendarDay.h"

namespace n4 {

namespace {

// Names as they look after normalising (see nameKey): lower case, no
// spaces, underscores, hyphens or dots.
const char* const kDrawNames[] = {"回",   "回号",   "回別",       "開催回", "回数",
                                  "draw", "drawno", "drawnumber", "round",  "no"};
const char* const kNumberNames[] = {"当せん番号",    "当選番号", "当せん数字", "当選数字",
                                    "winningnumber", "numbers",  "number"};
const char* const kDigitPrefixes[] = {"d", "digit", "n", "num", "数字"};

bool isSpace(unsigned char c) {
    return c == ' ' || c == '\t';
}

std::string nameKey(std::string_view name) {
    std::string key;
    for (char c : foldWidth(name)) {
        if (c == ' ' || c == '_' || c == '-' || c == '.' || c == '"') continue;
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

ColumnRole digitRole(const std::string& key) {
    auto role = [](char position) {
        return static_cast<ColumnRole>(static_cast<int>(ColumnRole::Digit1) + (position - '1'));
    };
    // 第1数字
    const std::string dai = "第", suji = "数字";
    if (key.size() == dai.size() + 1 + suji.size() && key.compare(0, dai.size(), dai) == 0 &&
        key.compare(dai.size() + 1, std::string::npos, suji) == 0) {
        const char p = key[dai.size()];
        if (p >= '1' && p <= '4') return role(p);
    }
    // d1, digit1, n1, num1, 数字1
    for (const char* prefix : kDigitPrefixes) {
        const std::string pre = prefix;
        if (key.size() == pre.size() + 1 && key.compare(0, pre.size(), pre) == 0) {
            const char p = key.back();
            if (p >= '1' && p <= '4') return role(p);
        }
    }
    return ColumnRole::None;
}

bool allAsciiDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::string foldWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0xEF && i + 2 < text.size()) {
            // U+FF01..U+FF5E are EF BC 81..EF BD 9E
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            const int cp = ((c & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
            if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80 && cp >= 0xFF01 && cp <= 0xFF5E) {
                out += static_cast<char>(cp - 0xFEE0);
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && text.compare(i, 3, "\xE3\x80\x80") == 0) { // U+3000
            out += ' ';
            i += 2;
            continue;
        }
        out += static_cast<char>(c);
    }
    const size_t b = out.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const size_t e = out.find_last_not_of(" \t");
    return out.substr(b, e - b + 1);
}

ColumnRole columnRole(std::string_view name) {
    const std::string key = nameKey(name);
    for (const char* n : kDrawNames)
        if (key == n) return ColumnRole::Draw;
    for (const char* n : kNumberNames)
        if (key == n) return ColumnRole::Number;
    // Names as written by results files, folded as nameKey folds them.
    static const std::pair<const char*, ColumnRole> kDetailNames[] = {
        {"date", ColumnRole::Date},
        {"drawdate", ColumnRole::Date},
        {"抽せん日", ColumnRole::Date},
        {"抽選日", ColumnRole::Date},
        {"日付", ColumnRole::Date},
        {"straight", ColumnRole::Straight},
        {"straightpayout", ColumnRole::Straight},
        {"ストレート", ColumnRole::Straight},
        {"box", ColumnRole::Box},
        {"boxpayout", ColumnRole::Box},
        {"ボックス", ColumnRole::Box},
        {"setstraight", ColumnRole::SetStraight},
        {"setstraightpayout", ColumnRole::SetStraight},
        {"セットストレート", ColumnRole::SetStraight},
        {"セット・ストレート", ColumnRole::SetStraight},
        {"setbox", ColumnRole::SetBox},
        {"setboxpayout", ColumnRole::SetBox},
        {"セットボックス", ColumnRole::SetBox},
        {"セット・ボックス", ColumnRole::SetBox},
    };
    for (const auto& [n, role] : kDetailNames)
        if (key == n) return role;
    return digitRole(key);
}

CellRead readDate(std::string_view cell, int& yyyymmdd) {
    const std::string v = foldWidth(cell);
    if (v.empty() || v == "null") return CellRead::Empty;
    int parts[3] = {0, 0, 0}, part = 0, digits = 0;
    for (size_t i = 0; i < v.size();) {
        const unsigned char c = static_cast<unsigned char>(v[i]);
        if (c >= '0' && c <= '9') {
            if (++digits > 4) return CellRead::Bad;
            parts[part] = parts[part] * 10 + (c - '0');
            ++i;
            continue;
        }
        // One separator between the parts: - / . or 年 月, and 日 at the end.
        static const std::string kSeparators[] = {"-", "/", ".", "年", "月", "日"};
        size_t taken = 0;
        for (const std::string& sep : kSeparators)
            if (v.compare(i, sep.size(), sep) == 0) taken = sep.size();
        if (taken == 0 || digits == 0) return CellRead::Bad;
        i += taken;
        digits = 0;
        if (++part > 2) {
            if (i == v.size() && v.compare(v.size() - taken, taken, "日") == 0) break;
            return CellRead::Bad;
        }
    }
    if (part < 2 || (part == 2 && digits == 0)) return CellRead::Bad;
    const int y = parts[0], m = parts[1], d = parts[2];
    if (y < 1900 || y > 9999 || !isCalendarDay(y, m, d)) return CellRead::Bad;
    yyyymmdd = y * 10000 + m * 100 + d;
    return CellRead::Ok;
}

CellRead readPrize(std::string_view cell, int& yen) {
    std::string v = foldWidth(cell);
    const std::string en = "円";
    if (v.size() > en.size() && v.compare(v.size() - en.size(), en.size(), en) == 0)
        v.erase(v.size() - en.size());
    if (v.empty() || v == "-" || v == "null") return CellRead::Empty;
    long long n = 0;
    int digits = 0;
    for (char c : v) {
        if (c == ',') continue;
        if (c < '0' || c > '9' || ++digits > 10) return CellRead::Bad;
        n = n * 10 + (c - '0');
    }
    if (digits == 0 || n > 2000000000) return CellRead::Bad;
    yen = static_cast<int>(n);
    return CellRead::Ok;
}

bool readDetailCell(ColumnRole role, std::string_view cell, DrawDetails& details,
                    std::string& error) {
    static const char* const kPrizeNames[] = {"ストレートの賞金", "ボックスの賞金",
                                              "セット・ストレートの賞金", "セット・ボックスの賞金"};
    if (role == ColumnRole::Date) {
        if (readDate(cell, details.date) != CellRead::Bad) return true;
        error = "抽せん日" + quoted(cell) + "を日付（2026-08-21 など）として読めません。";
        return false;
    }
    const int kind = prizeKind(role);
    if (kind < 0) return true;
    if (readPrize(cell, details.prizes[kind]) != CellRead::Bad) return true;
    error = std::string(kPrizeNames[kind]) + quoted(cell) + "を金額として読めません。";
    return false;
}

CellRead readDrawNo(std::string_view cell, int& drawNo) {
    std::string v = foldWidth(cell);
    if (v.empty()) return CellRead::Empty;
    const std::string dai = "第", kai = "回";
    if (v.compare(0, dai.size(), dai) == 0) v.erase(0, dai.size());
    if (v.size() > kai.size() && v.compare(v.size() - kai.size(), kai.size(), kai) == 0)
        v.erase(v.size() - kai.size());
    while (!v.empty() && isSpace(static_cast<unsigned char>(v.back())))
        v.pop_back();
    while (!v.empty() && isSpace(static_cast<unsigned char>(v.front())))
        v.erase(0, 1);
    if (!allAsciiDigits(v) || v.size() > 9) return CellRead::Bad;
    const long n = std::stol(v);
    if (n < 1 || n > kMaxDrawNo) return CellRead::Bad;
    drawNo = static_cast<int>(n);
    return CellRead::Ok;
}

CellRead readDigit(std::string_view cell, int& digit) {
    const std::string v = foldWidth(cell);
    if (v.empty()) return CellRead::Empty;
    if (v.size() != 1 || v[0] < '0' || v[0] > '9') return CellRead::Bad;
    digit = v[0] - '0';
    return CellRead::Ok;
}

CellRead readWinningNumber(std::string_view cell, std::array<int, 4>& digits) {
    const std::string v = foldWidth(cell);
    if (v.empty()) return CellRead::Empty;
    if (!allAsciiDigits(v) || v.size() > 4) return CellRead::Bad;
    const std::string padded = std::string(4 - v.size(), '0') + v;
    for (int p = 0; p < 4; ++p)
        digits[p] = padded[p] - '0';
    return CellRead::Ok;
}

std::string atLine(int line, const std::string& what) {
    return std::to_string(line) + "行目: " + what;
}

std::string quoted(std::string_view cell) {
    constexpr size_t kLongest = 24;
    size_t cut = std::min(cell.size(), kLongest);
    // Never cut a multi-byte character in two.
    while (cut > 0 && cut < cell.size() && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80)
        --cut;
    return "「" + std::string(cell.substr(0, cut)) + (cut < cell.size() ? "…" : "") + "」";
}

std::string digitsText(const std::array<int, 4>& digits) {
    std::string s;
    for (int d : digits)
        s += d >= 0 && d <= 9 ? std::string(1, static_cast<char>('0' + d)) : std::string("・");
    return s;
}

bool collectDraws(std::vector<LineRecord>& rows, ImportResult& result) {
    std::stable_sort(rows.begin(), rows.end(), [](const LineRecord& a, const LineRecord& b) {
        return a.record.drawNo < b.record.drawNo;
    });
    std::vector<DrawRecord> out;
    out.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0 && rows[i].record.drawNo == rows[i - 1].record.drawNo) {
            const LineRecord& a = rows[i - 1];
            const LineRecord& b = rows[i];
            if (a.record.digits == b.record.digits) continue;
            const int first = std::min(a.line, b.line), second = std::max(a.line, b.line);
            result.message = std::to_string(first) + "行目と" + std::to_string(second) +
                             "行目で第" + std::to_string(a.record.drawNo) +
                             "回の当選番号が違います（" + digitsText(a.record.digits) + " と " +
                             digitsText(b.record.digits) + "）。どちらが正しいか決められません。";
            return false;
        }
        out.push_back(rows[i].record);
    }
    std::vector<LineRecord>().swap(rows);
    if (out.empty()) {
        result.message = "当選データが 1 件もありません。";
        return false;
    }
    result.rows = std::move(out);
    return true;
}

} // namespace n4
