#include "core/import/ResultText.h"

#include <vector>

#include "core/import/HistoryValues.h"

namespace n4 {

namespace {

// A draw named on one line is matched with a number this many lines further.
constexpr int kLinesToNumber = 8;

struct Token {
    size_t pos;
    int value;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWith(std::string_view s, size_t at, std::string_view word) {
    return s.substr(at, word.size()) == word;
}

// 第NNNN回, with the number 1..kMaxDrawNo.
std::vector<Token> drawTokens(std::string_view line) {
    std::vector<Token> out;
    const std::string_view dai = "第", kai = "回";
    for (size_t at = line.find(dai); at != std::string_view::npos; at = line.find(dai, at + 1)) {
        size_t end = at + dai.size();
        while (end < line.size() && line[end] == ' ')
            ++end;
        const size_t digits = end;
        while (end < line.size() && isDigit(line[end]))
            ++end;
        int no = 0;
        // (no digits at all is an empty draw, which readDrawNo refuses)
        if (end - digits <= 5 && startsWith(line, end, kai) &&
            readDrawNo(line.substr(digits, end - digits), no) == CellRead::Ok)
            out.push_back({at, no});
    }
    return out;
}

// What may follow a number that is a date, an amount, a count or a draw.
bool unitFollows(std::string_view line, size_t end) {
    if (end >= line.size()) return false;
    if (std::string_view("/-:,.%").find(line[end]) != std::string_view::npos) return true;
    for (std::string_view unit : {"年", "月", "日", "円", "口", "回", "件", "等"})
        if (startsWith(line, end, unit)) return true;
    return false;
}

// Runs of exactly four digits that stand alone.
std::vector<Token> numberTokens(std::string_view line) {
    std::vector<Token> out;
    for (size_t i = 0; i < line.size();) {
        if (!isDigit(line[i])) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < line.size() && isDigit(line[end]))
            ++end;
        const bool joined =
            i > 0 && std::string_view("/-,.").find(line[i - 1]) != std::string_view::npos;
        if (end - i == 4 && !joined && !unitFollows(line, end))
            out.push_back({i, std::stoi(std::string(line.substr(i, 4)))});
        i = end;
    }
    return out;
}

LineRecord record(int drawNo, int number, int line) {
    LineRecord r;
    r.record.drawNo = drawNo;
    for (int p = 3; p >= 0; --p, number /= 10)
        r.record.digits[p] = number % 10;
    r.line = line;
    return r;
}

} // namespace

ImportResult readResultText(std::string_view utf8) {
    ImportResult result;
    std::vector<LineRecord> rows;
    int lineNo = 0, pendingDraw = 0, pendingLine = 0;
    for (size_t start = 0; start <= utf8.size();) {
        size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos) end = utf8.size();
        const std::string line = foldWidth(utf8.substr(start, end - start));
        start = end + 1;
        ++lineNo;
        const std::vector<Token> draws = drawTokens(line), numbers = numberTokens(line);
        if (!draws.empty() && !numbers.empty()) {
            // A table row may hold several draws: pair them in order.
            const size_t pairs = draws.size() == numbers.size() ? draws.size() : 1;
            for (size_t i = 0; i < pairs; ++i)
                rows.push_back(record(draws[i].value, numbers[i].value, lineNo));
            pendingDraw = 0;
        } else if (!draws.empty()) {
            pendingDraw = draws.back().value;
            pendingLine = lineNo;
        } else if (!numbers.empty() && pendingDraw > 0 && lineNo - pendingLine <= kLinesToNumber) {
            rows.push_back(record(pendingDraw, numbers.front().value, pendingLine));
            pendingDraw = 0;
        }
    }
    if (rows.empty()) {
        result.message = "第NNNN回 と 4 けたの当選番号のある行が見つかりません。";
        return result;
    }
    result.format = "結果ページの文字";
    result.ok = collectDraws(rows, result);
    return result;
}

} // namespace n4
