#include "core/tickets/TicketCsv.h"

#include "core/import/TextEncoding.h"

namespace n4 {

namespace {

constexpr const char* kHeader = "回,最終回,番号,種類,口数";
constexpr long long kMaxCheckedDraws = 1000000;

std::string trimmed(const std::string& text) {
    size_t begin = 0, end = text.size();
    auto space = [&](size_t at) {
        return text[at] == ' ' || text[at] == '\t' || text[at] == '\r' ||
               (at + 3 <= text.size() && text.compare(at, 3, "\xE3\x80\x80") == 0);
    };
    while (begin < end && space(begin))
        begin += text[begin] == '\xE3' ? 3 : 1;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return text.substr(begin, end - begin);
}

// Fields split at the line's delimiter (a tab where there is one, else a
// comma, else a semicolon), double quotes around a field taken off.
std::vector<std::string> fieldsOf(const std::string& line) {
    const char delimiter = line.find('\t') != std::string::npos  ? '\t'
                           : line.find(',') != std::string::npos ? ','
                                                                 : ';';
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == delimiter && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    for (std::string& f : fields)
        f = trimmed(f);
    return fields;
}

// Four digits as typed, or fewer as a spreadsheet leaves a number with
// leading zeros.
int numberField(const std::string& text, std::string& hint) {
    const bool shortPlain = !text.empty() && text.size() < 4 &&
                            text.find_first_not_of("0123456789") == std::string::npos;
    if (shortPlain) return std::stoi(text);
    return parseNumber(text, hint);
}

bool isHeader(const std::vector<std::string>& fields) {
    return parseDrawNo(fields[0]) < 0 && (fields[0].find("回") != std::string::npos ||
                                          fields[0].find("番号") != std::string::npos);
}

// One row of 2 to 5 fields (see the header); the problem in words otherwise.
std::string ticketOf(const std::vector<std::string>& f, Ticket& t) {
    const size_t n = f.size();
    if (n < 2 || n > 5) return "項目の数が合いません（回,最終回,番号,種類,口数）。";
    const bool withLast = n == 5;
    t.firstDraw = parseDrawNo(f[0]);
    if (t.firstDraw < 0) return "回「" + f[0] + "」が数ではありません。";
    t.lastDraw = t.firstDraw;
    if (withLast && !f[1].empty() && (t.lastDraw = parseDrawNo(f[1])) < 0)
        return "最終回「" + f[1] + "」が数ではありません。";
    std::string hint;
    const std::string& number = f[withLast ? 2 : 1];
    if ((t.number = numberField(number, hint)) < 0) return "番号「" + number + "」: " + hint;
    t.kind = BuyKind::Straight;
    const size_t kindAt = withLast ? 3 : 2;
    if (kindAt < n && !f[kindAt].empty() && !parseBuyKind(f[kindAt], t.kind))
        return "種類「" + f[kindAt] + "」はストレート・ボックス・セットのどれでもありません。";
    t.units = 1;
    const size_t unitsAt = kindAt + 1;
    if (unitsAt < n && !f[unitsAt].empty()) {
        const int units = parseDrawNo(f[unitsAt]); // plain digits, full-width too
        if (units < 0 || f[unitsAt].find("回") != std::string::npos)
            return "口数「" + f[unitsAt] + "」が数ではありません。";
        t.units = units;
    }
    return ticketProblem(t);
}

} // namespace

std::string ticketsCsv(const std::vector<Ticket>& tickets) {
    std::string out = "\xEF\xBB\xBF";
    out += kHeader;
    out += "\r\n";
    for (const Ticket& t : tickets) {
        out += std::to_string(t.firstDraw) + ',';
        if (t.lastDraw != t.firstDraw) out += std::to_string(t.lastDraw);
        out += ',' + fourDigits(t.number) + ',' + buyKindName(t.kind) + ',' +
               std::to_string(t.units) + "\r\n";
    }
    return out;
}

TicketCsvResult readTicketsCsv(const std::string& bytes) {
    TicketCsvResult result;
    DecodedText decoded = decodeHistoryText(bytes);
    if (!decoded.ok) {
        result.message = decoded.message;
        return result;
    }
    const std::string& text = decoded.text;
    int lineNo = 0;
    long long draws = 0;
    bool first = true;
    for (size_t at = 0; at <= text.size();) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        ++lineNo;
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        const std::vector<std::string> fields = fieldsOf(line);
        if (fields.size() == 1 && fields[0].empty()) continue;
        const bool header = first && isHeader(fields);
        first = false;
        if (header) continue;
        Ticket t;
        if (std::string problem = ticketOf(fields, t); !problem.empty()) {
            result.tickets.clear();
            result.message = std::to_string(lineNo) + " 行目: " + problem +
                             " 購入記録には何も書き込んでいません。";
            return result;
        }
        // Every ticket's draws are checked one by one: a file may not ask for
        // more of them than a lifetime of buying holds.
        if ((draws += t.drawCount()) > kMaxCheckedDraws) {
            result.tickets.clear();
            result.message = std::to_string(lineNo) + " 行目: 券と回の組が多すぎます（" +
                             std::to_string(kMaxCheckedDraws) +
                             " まで）。購入記録には何も書き込んでいません。";
            return result;
        }
        result.tickets.push_back(t);
    }
    // An empty file, or one of a header alone, is most likely not the one meant.
    if (result.tickets.empty()) {
        result.message = "購入記録が 1 件もありません。購入記録には何も書き込んでいません。";
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace n4
