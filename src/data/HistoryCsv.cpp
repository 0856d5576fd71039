#include "data/HistoryCsv.h"

#include <sstream>

#include "data/TextEncoding.h"

namespace n4 {

namespace {

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    for (auto& f : fields) {
        size_t b = f.find_first_not_of(" \t"), e = f.find_last_not_of(" \t");
        f = b == std::string::npos ? "" : f.substr(b, e - b + 1);
    }
    return fields;
}

bool parseInt(const std::string& s, long long& v) {
    if (s.empty() || s.size() > 9) return false;
    v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    return true;
}

struct Columns {
    int draw = -1;
    int digit[4] = {-1, -1, -1, -1};
    bool complete() const {
        return draw >= 0 && digit[0] >= 0 && digit[1] >= 0 && digit[2] >= 0 && digit[3] >= 0;
    }
};

Columns findColumns(const std::vector<std::string>& header) {
    static const char* ascii[4] = {"d1", "d2", "d3", "d4"};
    static const char* japanese[4] = {"第1数字", "第2数字", "第3数字", "第4数字"};
    Columns c;
    for (int i = 0; i < static_cast<int>(header.size()); ++i) {
        const std::string& h = header[i];
        if (h == "draw" || h == "回数") c.draw = i;
        for (int p = 0; p < 4; ++p)
            if (h == ascii[p] || h == japanese[p]) c.digit[p] = i;
    }
    return c;
}

std::string lineError(int lineNo, const std::string& what) {
    return std::to_string(lineNo) + "行目: " + what;
}

} // namespace

CsvParseResult parseHistoryCsv(const std::string& bytes) {
    CsvParseResult result;
    auto text = decodeUtf8OrShiftJis(bytes);
    if (!text) {
        result.message =
            "文字コードを読み取れません（UTF-8 または Shift-JIS で保存してください）。";
        return result;
    }
    std::istringstream in(*text);
    std::string line;
    int lineNo = 0;
    Columns cols;
    size_t headerSize = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        auto fields = splitFields(line);
        if (headerSize == 0) {
            cols = findColumns(fields);
            if (!cols.complete()) {
                result.message = lineError(
                    lineNo, "見出しに draw/回数 と d1～d4/第1数字～第4数字 がありません。");
                return result;
            }
            headerSize = fields.size();
            continue;
        }
        if (fields.size() != headerSize) {
            result.message = lineError(lineNo, "項目の数が見出しと合いません。");
            return result;
        }
        DrawRecord r;
        long long v;
        if (!parseInt(fields[cols.draw], v) || v < 1 || v > kMaxDrawNo) {
            result.message = lineError(lineNo, "回数は 1～99999 の数で指定してください。");
            return result;
        }
        r.drawNo = static_cast<int>(v);
        for (int p = 0; p < 4; ++p) {
            const std::string& f = fields[cols.digit[p]];
            if (f.empty()) continue;
            if (!parseInt(f, v) || v > 9) {
                result.message = lineError(lineNo, "第" + std::to_string(p + 1) +
                                                       "数字が 0～9 ではありません。");
                return result;
            }
            r.digits[p] = static_cast<int>(v);
        }
        result.rows.push_back(r);
    }
    if (headerSize == 0) {
        result.message = "見出し行がありません。";
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace n4
