#include "core/numbers/NumberKind.h"

#include <algorithm>

namespace n4 {

std::array<int, 4> digitsOf(int number) {
    return {number / 1000 % 10, number / 100 % 10, number / 10 % 10, number % 10};
}

int numberOf(const std::array<int, 4>& digits) {
    int n = 0;
    for (int d : digits) {
        if (d < 0 || d > 9) return -1;
        n = n * 10 + d;
    }
    return n;
}

int digitsKey(int number) {
    std::array<int, 4> d = digitsOf(number);
    std::sort(d.begin(), d.end());
    return numberOf(d);
}

std::string fourDigits(int number) {
    std::string s(4, '0');
    for (int i = 3; i >= 0; --i, number /= 10)
        s[static_cast<size_t>(i)] = static_cast<char>('0' + number % 10);
    return s;
}

NumberType typeOf(int number) {
    const std::array<int, 4> d = digitsOf(digitsKey(number)); // sorted
    int pairs = 0, longest = 1, run = 1;
    for (int i = 1; i < 4; ++i) {
        run = d[i] == d[i - 1] ? run + 1 : 1;
        if (run == 2) ++pairs;
        longest = std::max(longest, run);
    }
    if (longest == 4) return NumberType::Quad;
    if (longest == 3) return NumberType::Triple;
    if (pairs == 2) return NumberType::DoubleDouble;
    return pairs == 1 ? NumberType::Double : NumberType::Single;
}

int ordersOf(NumberType type) {
    static const int kOrders[] = {24, 12, 6, 4, 1};
    return kOrders[static_cast<int>(type)];
}

const char* typeName(NumberType type) {
    static const char* const kNames[] = {"シングル", "ダブル", "ダブルダブル", "トリプル",
                                         "クワッド"};
    return kNames[static_cast<int>(type)];
}

const char* buyKindName(BuyKind kind) {
    static const char* const kNames[] = {"ストレート", "ボックス", "セット"};
    return kNames[static_cast<int>(kind)];
}

bool parseBuyKind(const std::string& text, BuyKind& kind) {
    struct Name {
        const char* text;
        BuyKind kind;
    };
    static const Name kNames[] = {
        {"ストレート", BuyKind::Straight}, {"ボックス", BuyKind::Box}, {"セット", BuyKind::Set},
        {"straight", BuyKind::Straight},   {"box", BuyKind::Box},      {"set", BuyKind::Set}};
    size_t begin = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
    if (begin == std::string::npos) return false;
    const std::string word = text.substr(begin, end - begin + 1);
    for (const Name& n : kNames)
        if (word == n.text) {
            kind = n.kind;
            return true;
        }
    return false;
}

bool canBuy(int number, BuyKind kind) {
    return kind == BuyKind::Straight || typeOf(number) != NumberType::Quad;
}

int digitAt(const std::string& text, size_t at, size_t& length) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    length = 1;
    if (c >= '0' && c <= '9') return c - '0';
    // Full-width ０..９ are EF BC 90..99 in UTF-8.
    if (c != 0xEF || at + 2 >= text.size() || static_cast<unsigned char>(text[at + 1]) != 0xBC)
        return -1;
    const unsigned char last = static_cast<unsigned char>(text[at + 2]);
    if (last < 0x90 || last > 0x99) return -1;
    length = 3;
    return last - 0x90;
}

int parseNumber(const std::string& text, std::string& hint) {
    int number = 0, digits = 0;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        const int digit = digitAt(text, i, length);
        if (digit < 0 && (c == ' ' || c == '\t')) {
            if (digits > 0 && digits < 4) {
                hint = "番号は空白を入れずに4けたで入力してください。";
                return -1;
            }
            ++i;
            continue;
        } else if (digit < 0 && text.compare(i, 3, "\xE3\x80\x80") == 0) { // 全角空白
            length = 3;
            if (digits > 0 && digits < 4) {
                hint = "番号は空白を入れずに4けたで入力してください。";
                return -1;
            }
            i += length;
            continue;
        }
        if (digit < 0) {
            hint = "番号は数字（0～9）だけで入力してください。";
            return -1;
        }
        if (++digits > 4) {
            hint = "番号は4けたです。5けた目は入力できません。";
            return -1;
        }
        number = number * 10 + digit;
        i += length;
    }
    if (digits < 4) {
        hint = digits == 0 ? "番号を4けたで入力してください（例: 1234、0042）。"
                           : "番号は4けたです（例: 0042）。あと " + std::to_string(4 - digits) +
                                 " けた入力してください。";
        return -1;
    }
    hint.clear();
    return number;
}

Hit hitOf(int number, BuyKind kind, int drawn) {
    if (drawn < 0 || !canBuy(number, kind)) return Hit::None;
    const bool inOrder = number == drawn;
    const bool anyOrder = inOrder || digitsKey(number) == digitsKey(drawn);
    switch (kind) {
    case BuyKind::Straight:
        return inOrder ? Hit::Straight : Hit::None;
    case BuyKind::Box:
        return anyOrder ? Hit::Box : Hit::None;
    case BuyKind::Set:
        return inOrder ? Hit::SetStraight : anyOrder ? Hit::SetBox : Hit::None;
    }
    return Hit::None;
}

int prizeOf(Hit hit, const DrawDetails& details) {
    switch (hit) {
    case Hit::None:
        return 0;
    case Hit::Straight:
        return details.prizes[kStraight];
    case Hit::Box:
        return details.prizes[kBox];
    case Hit::SetStraight:
        return details.prizes[kSetStraight];
    case Hit::SetBox:
        return details.prizes[kSetBox];
    }
    return 0;
}

} // namespace n4
