#include "core/numbers/FilterOptions.h"

#include <cstdlib>

namespace n4 {

namespace {

bool wholeNumber(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::atoi(text.c_str());
    return value >= low && value <= high;
}

// "0123": the digits named; at least one, each 0..9.
bool digitSet(const std::string& text, std::bitset<10>& digits) {
    digits.reset();
    for (char c : text) {
        if (c == ',') continue;
        if (c < '0' || c > '9') return false;
        digits.set(static_cast<size_t>(c - '0'));
    }
    return digits.any();
}

// "2" or "1,2,3": counts 0..4.
bool countSet(const std::string& text, std::bitset<5>& counts) {
    counts.reset();
    for (char c : text) {
        if (c == ',') continue;
        if (c < '0' || c > '4') return false;
        counts.set(static_cast<size_t>(c - '0'));
    }
    return counts.any();
}

bool typeSet(const std::string& text, std::bitset<kNumberTypeCount>& types) {
    static const char* const kNames[][2] = {{"single", "シングル"},
                                            {"double", "ダブル"},
                                            {"double-double", "ダブルダブル"},
                                            {"triple", "トリプル"},
                                            {"quad", "クワッド"}};
    types.reset();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(',', start), text.size());
        const std::string word = text.substr(start, end - start);
        bool known = false;
        for (size_t t = 0; t < kNumberTypeCount; ++t)
            if (word == kNames[t][0] || word == kNames[t][1]) types.set(t), known = true;
        if (!known) return false;
        start = end + 1;
    }
    return types.any();
}

} // namespace

const std::vector<FilterOptionSpec>& filterOptionSpecs() {
    static const std::vector<FilterOptionSpec> options = {
        {"--pos1", "DIGITS", "numbers: 第1数字に使える数字（例 0123）"},
        {"--pos2", "DIGITS", "numbers: 第2数字に使える数字"},
        {"--pos3", "DIGITS", "numbers: 第3数字に使える数字"},
        {"--pos4", "DIGITS", "numbers: 第4数字に使える数字"},
        {"--any-order", "",
         "numbers: --pos1～--pos4 を並びを問わずに当てはめる（ボックスの考え方）"},
        {"--box", "NUMBER", "numbers: NUMBER の数字の並べ替えだけ（例 1234 の 24 通り）"},
        {"--sum", "MIN:MAX", "numbers: 4数字の合計の範囲 0～36"},
        {"--even-odd", "COUNTS", "numbers: 偶数の個数 0～4（例 2 や 1,2,3）"},
        {"--low-high", "COUNTS", "numbers: 低数字（0～4）の個数 0～4"},
        {"--type", "TYPES",
         "numbers: 番号の型 single、double、double-double、triple、quad（コンマ区切り）"},
        {"--must", "DIGITS", "numbers: かならず含む数字"},
        {"--not", "DIGITS", "numbers: 含まない数字"},
        {"--not-drawn", "N", "numbers: 最近 N 回にそのままの並びで出た番号を除く"},
        {"--not-drawn-box", "N", "numbers: 最近 N 回に並びを問わず出た番号を除く"},
    };
    return options;
}

bool applyFilterOption(const std::string& name, const std::string& value, NumberFilter& f,
                       std::string& error) {
    bool ok = true;
    if (name.size() == 6 && name.compare(0, 5, "--pos") == 0 && name[5] >= '1' && name[5] <= '4') {
        ok = digitSet(value, f.positions[static_cast<size_t>(name[5] - '1')]);
        if (!ok) error = name + " には数字 0～9 を並べてください（例 0123）: " + value;
    } else if (name == "--any-order") {
        f.anyOrder = true;
    } else if (name == "--box") {
        const int number =
            value.size() == 4 && value.find_first_not_of("0123456789") == std::string::npos
                ? std::atoi(value.c_str())
                : -1;
        ok = number >= 0;
        if (ok) {
            const std::array<int, 4> d = digitsOf(number);
            for (size_t i = 0; i < 4; ++i)
                f.positions[i].reset().set(static_cast<size_t>(d[i]));
            f.anyOrder = true;
        } else {
            error = "--box には4けたの番号を指定してください: " + value;
        }
    } else if (name == "--sum") {
        const size_t colon = value.find(':');
        ok = colon != std::string::npos && wholeNumber(value.substr(0, colon), 0, 36, f.sumMin) &&
             wholeNumber(value.substr(colon + 1), 0, 36, f.sumMax) && f.sumMin <= f.sumMax;
        if (!ok)
            error = "--sum は 最小:最大 で、0～36 の範囲で指定してください（例 14:22）: " + value;
    } else if (name == "--even-odd" || name == "--low-high") {
        ok = countSet(value, name == "--even-odd" ? f.evenCounts : f.lowCounts);
        if (!ok) error = name + " には個数 0～4 をコンマで区切って指定してください: " + value;
    } else if (name == "--type") {
        ok = typeSet(value, f.types);
        if (!ok)
            error = "--type は single、double、double-double、triple、quad から選んでください: " +
                    value;
    } else if (name == "--must" || name == "--not") {
        ok = digitSet(value, name == "--must" ? f.must : f.mustNot);
        if (!ok) error = name + " には数字 0～9 を並べてください: " + value;
    } else if (name == "--not-drawn" || name == "--not-drawn-box") {
        ok = wholeNumber(value, 1, 99999,
                         name == "--not-drawn" ? f.notDrawnInOrder : f.notDrawnAnyOrder);
        if (!ok) error = name + " には 1 以上の回数を指定してください: " + value;
    } else {
        ok = false;
        error = "不明な条件です: " + name;
    }
    return ok;
}

bool parseBuyKind(const std::string& text, BuyKind& kind, std::string& error) {
    if (parseBuyKind(text, kind)) return true;
    error = "--bought は straight、box、set のいずれかです: " + text;
    return false;
}

} // namespace n4
