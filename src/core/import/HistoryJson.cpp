#include "core/import/HistoryJson.h"

#include <array>
#include <cctype>
#include <optional>
#include <vector>

#include "core/import/HistoryValues.h"

namespace n4 {

namespace {

constexpr int kMaxDepth = 64; // nesting a draw file never needs; deeper is refused
// The results API writes the digits twice: "digits": [9, 5, 7, 7] beside
// "winning_number": "9577". Either is read; given both, they must agree.
constexpr std::string_view kDigitList = "digits";
// The prizes as one object: "prize": {"straight": 2128400, "box": ...}.
constexpr std::string_view kPrizeObject = "prize";

enum class Kind { String, Number, Literal, Array, Object };

// A value the draw is read from: a scalar's text, or an array of scalars.
struct Value;
using RoleValues = std::array<std::optional<Value>, static_cast<size_t>(ColumnRole::SetBox) + 1>;

struct Value {
    Kind kind = Kind::Literal;
    std::string text; // "null" for null
    std::vector<std::string> items;
    bool isNull() const { return kind == Kind::Literal && text == "null"; }
};

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : s_(text) {}

    ImportResult read(const std::string& encoding);

  private:
    bool fail(const std::string& what) {
        result_.message = atLine(lineAt(pos_), what);
        return false;
    }
    int lineAt(size_t pos) {
        // Offsets only grow while reading, so lines are counted once.
        for (; countedTo_ < pos && countedTo_ < s_.size(); ++countedTo_)
            if (s_[countedTo_] == '\n') ++line_;
        return line_;
    }
    void skipSpace() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool eat(char c) {
        skipSpace();
        if (pos_ < s_.size() && s_[pos_] == c) return ++pos_, true;
        return false;
    }
    char peek() {
        skipSpace();
        return pos_ < s_.size() ? s_[pos_] : '\0';
    }
    bool string(std::string& out);
    bool unicodeEscape(std::string& out);
    bool scalar(Value& v);
    bool value(Value& v);
    bool skipValue(int depth);
    bool drawArray(std::vector<LineRecord>& rows);
    bool topLevel(std::vector<LineRecord>& rows);
    bool drawObject(LineRecord& row);
    bool member(std::string& key, Value& v, bool& wanted);
    bool prizeObject(DrawDetails& details, int line);
    DrawDetails prizes_; // of the draw object being read, from its prize object
    bool failAt(int line, const std::string& what) {
        result_.message = atLine(line, what);
        return false;
    }

    std::string_view s_;
    size_t pos_ = 0;
    size_t countedTo_ = 0;
    int line_ = 1;
    ImportResult result_;
};

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The four hex digits at `at`, or nothing.
std::optional<unsigned> hex4(std::string_view s, size_t at) {
    if (at + 4 > s.size()) return std::nullopt;
    unsigned v = 0;
    for (size_t i = at; i < at + 4; ++i) {
        const char c = s[i];
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
    }
    return v;
}

bool JsonReader::unicodeEscape(std::string& out) {
    const std::optional<unsigned> unit = hex4(s_, pos_);
    if (!unit) return fail("\\u の後が 16 進 4 けたではありません。");
    pos_ += 4;
    unsigned cp = *unit;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
        const std::optional<unsigned> low =
            s_.compare(pos_, 2, "\\u") == 0 ? hex4(s_, pos_ + 2) : std::nullopt;
        if (!low || *low < 0xDC00 || *low > 0xDFFF)
            return fail("\\u で書かれた文字が壊れています。");
        pos_ += 6;
        cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
        return fail("\\u で書かれた文字が壊れています。");
    }
    appendUtf8(out, cp);
    return true;
}

bool JsonReader::string(std::string& out) {
    if (!eat('"')) return fail("文字列（\"…\"）があるはずの所に別のものがあります。");
    out.clear();
    while (pos_ < s_.size()) {
        const char c = s_[pos_++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos_ >= s_.size()) break;
        const char e = s_[pos_++];
        static constexpr std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
        if (e == 'u') {
            if (!unicodeEscape(out)) return false;
        } else if (const size_t k = from.find(e); k != std::string_view::npos) {
            out += to[k];
        } else {
            return fail("文字列の中に読めない \\ があります。");
        }
    }
    return fail("文字列の \" が閉じていません。");
}

bool JsonReader::scalar(Value& v) {
    const char c = peek();
    if (c == '"') {
        v.kind = Kind::String;
        return string(v.text);
    }
    const size_t start = pos_;
    while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) ||
                                s_[pos_] == '-' || s_[pos_] == '+' || s_[pos_] == '.'))
        ++pos_;
    v.text = std::string(s_.substr(start, pos_ - start));
    if (v.text == "null" || v.text == "true" || v.text == "false") {
        v.kind = Kind::Literal;
        return true;
    }
    v.kind = Kind::Number;
    if (v.text.empty() ||
        !(std::isdigit(static_cast<unsigned char>(v.text[0])) || v.text[0] == '-'))
        return fail("JSON の値として読めません。");
    return true;
}

// A value of a key the draw is read from: a scalar or an array of scalars.
bool JsonReader::value(Value& v) {
    if (!eat('[')) return scalar(v);
    v.kind = Kind::Array;
    if (eat(']')) return true;
    do {
        Value item;
        if (peek() == '[' || peek() == '{') return fail("数字の並びの中に入れ子があります。");
        if (!scalar(item)) return false;
        v.items.push_back(item.isNull() ? std::string() : item.text);
    } while (eat(','));
    return eat(']') || fail("配列の ] がありません。");
}

bool JsonReader::skipValue(int depth) {
    if (depth > kMaxDepth) return fail("入れ子が深すぎます。");
    const char open = peek();
    if (open != '[' && open != '{') {
        Value ignored;
        return scalar(ignored);
    }
    ++pos_;
    const char close = open == '[' ? ']' : '}';
    if (eat(close)) return true;
    do {
        if (open == '{') {
            std::string key;
            if (!string(key)) return false;
            if (!eat(':')) return fail("キーの後に : がありません。");
        }
        if (!skipValue(depth + 1)) return false;
    } while (eat(','));
    return eat(close) || fail(std::string("閉じる ") + close + " がありません。");
}

bool scalarValue(const Value& v) {
    return v.kind == Kind::String || v.kind == Kind::Number;
}

bool readJsonDigits(const RoleValues& byRole, DrawRecord& r, std::string& error) {
    for (int p = 0; p < 4; ++p) {
        const auto& v = byRole[static_cast<size_t>(ColumnRole::Digit1) + p];
        const std::string name = "第" + std::to_string(p + 1) + "数字";
        if (!v) {
            error = name + "がありません。";
            return false;
        }
        int d = 0;
        const CellRead read = v->isNull()       ? CellRead::Empty
                              : scalarValue(*v) ? readDigit(v->text, d)
                                                : CellRead::Bad;
        if (read == CellRead::Bad) {
            error = name + quoted(v->text) + "が 0～9 の一けたではありません。";
            return false;
        }
        if (read == CellRead::Ok) r.digits[p] = d;
    }
    return true;
}

bool readJsonNumber(const Value& v, std::array<int, 4>& digits, std::string& error) {
    if (v.kind == Kind::Array) {
        if (v.items.size() != 4) {
            error = "当選番号の数字が 4 つではありません（" + std::to_string(v.items.size()) +
                    " 個）。";
            return false;
        }
        for (int p = 0; p < 4; ++p) {
            int d = 0;
            const CellRead read = readDigit(v.items[p], d);
            if (read == CellRead::Bad) {
                error = "当選番号の" + std::to_string(p + 1) + "つ目" + quoted(v.items[p]) +
                        "が 0～9 の一けたではありません。";
                return false;
            }
            if (read == CellRead::Ok) digits[p] = d;
        }
        return true;
    }
    if (v.isNull()) return true;
    if (!scalarValue(v) || readWinningNumber(v.text, digits) == CellRead::Bad) {
        error = "当選番号" + quoted(v.text) + "が 4 けたの数ではありません。";
        return false;
    }
    return true;
}

bool record(const RoleValues& byRole, DrawRecord& r, std::string& error) {
    const auto& draw = byRole[static_cast<size_t>(ColumnRole::Draw)];
    if (!draw) {
        error = "回数（round・draw・回 など）がありません。";
        return false;
    }
    if (!scalarValue(*draw) || readDrawNo(draw->text, r.drawNo) != CellRead::Ok) {
        error = "回数" + quoted(draw->text) + "を 1～99999 の数として読めません。";
        return false;
    }
    const auto& number = byRole[static_cast<size_t>(ColumnRole::Number)];
    bool anyDigit = false;
    for (int p = 0; p < 4; ++p)
        anyDigit = anyDigit || byRole[static_cast<size_t>(ColumnRole::Digit1) + p].has_value();
    if (!number && !anyDigit) {
        error = "当選番号（numbers・当せん番号・d1～d4 など）がありません。";
        return false;
    }
    if (anyDigit && !readJsonDigits(byRole, r, error)) return false;
    std::array<int, 4> digits{kAbsentDigit, kAbsentDigit, kAbsentDigit, kAbsentDigit};
    if (number && !readJsonNumber(*number, digits, error)) return false;
    if (!anyDigit)
        r.digits = digits;
    else if (number && r.isComplete() && digits[0] != kAbsentDigit && digits != r.digits) {
        error = "当選番号（" + digitsText(digits) + "）と第1～第4数字（" + digitsText(r.digits) +
                "）が合いません。";
        return false;
    }
    for (size_t role = static_cast<size_t>(ColumnRole::Date); role < byRole.size(); ++role) {
        const auto& v = byRole[role];
        if (!v) continue;
        if (!scalarValue(*v)) {
            error = quoted(v->text) + "は日付や金額として読めません。";
            return false;
        }
        if (!readDetailCell(static_cast<ColumnRole>(role), v->isNull() ? std::string() : v->text,
                            r.details, error))
            return false;
    }
    return true;
}

} // namespace

bool JsonReader::member(std::string& key, Value& v, bool& wanted) {
    if (!string(key)) return false;
    if (!eat(':')) return fail("キーの後に : がありません。");
    if (key == kPrizeObject && peek() == '{') {
        wanted = false;
        return prizeObject(prizes_, lineAt(pos_));
    }
    wanted = columnRole(key) != ColumnRole::None || key == kDigitList;
    return wanted ? value(v) : skipValue(1);
}

bool JsonReader::prizeObject(DrawDetails& details, int line) {
    ++pos_; // {
    if (eat('}')) return true;
    do {
        std::string key;
        if (!string(key)) return false;
        if (!eat(':')) return fail("キーの後に : がありません。");
        const ColumnRole role = columnRole(key);
        if (prizeKind(role) < 0) {
            if (!skipValue(2)) return false;
            continue;
        }
        Value v;
        if (!scalar(v)) return false;
        std::string error;
        if (!readDetailCell(role, v.isNull() ? std::string() : v.text, details, error))
            return failAt(line, error);
    } while (eat(','));
    return eat('}') || fail("オブジェクトの } がありません。");
}

bool JsonReader::drawObject(LineRecord& row) {
    row.line = lineAt(pos_);
    ++pos_; // {
    prizes_ = DrawDetails{};
    RoleValues byRole;
    std::optional<Value> digitList;
    if (!eat('}')) {
        do {
            std::string key;
            Value v;
            bool wanted = false;
            if (!member(key, v, wanted)) return false;
            if (!wanted) continue;
            auto& slot =
                key == kDigitList ? digitList : byRole[static_cast<size_t>(columnRole(key))];
            if (slot) return failAt(row.line, quoted(key) + "と同じ意味のキーが二つあります。");
            slot = std::move(v);
        } while (eat(','));
        if (!eat('}')) return fail("オブジェクトの } がありません。");
    }
    auto& number = byRole[static_cast<size_t>(ColumnRole::Number)];
    if (!number) std::swap(number, digitList);
    std::string error;
    if (!record(byRole, row.record, error)) return failAt(row.line, error);
    row.record.details = row.record.details.updatedBy(prizes_);
    std::array<int, 4> listed{kAbsentDigit, kAbsentDigit, kAbsentDigit, kAbsentDigit};
    if (digitList && !readJsonNumber(*digitList, listed, error)) return failAt(row.line, error);
    if (digitList && listed != row.record.digits)
        return failAt(row.line, "当選番号（" + digitsText(row.record.digits) + "）と digits（" +
                                    digitsText(listed) + "）が合いません。");
    return true;
}

bool JsonReader::drawArray(std::vector<LineRecord>& rows) {
    if (eat(']')) return true;
    do {
        if (peek() != '{')
            return fail("配列の要素が当選データのオブジェクト（{…}）ではありません。");
        LineRecord row;
        if (!drawObject(row)) return false;
        rows.push_back(row);
    } while (eat(','));
    return eat(']') || fail("配列の ] がありません。");
}

// In an object, the draws are the array of objects under one of its keys.
// Two such arrays are refused: which of them is the history cannot be told.
// An empty array holds no draws; it is the one read only when there is no
// other.
bool JsonReader::topLevel(std::vector<LineRecord>& rows) {
    const char c = peek();
    if (c == '[') return ++pos_, drawArray(rows);
    if (c != '{') return fail("JSON の配列（[…]）で始まっていません。");
    const size_t start = pos_;
    const int startLine = lineAt(pos_);
    ++pos_;
    std::optional<std::string> draws, empty;
    bool drawKey = false;
    if (!eat('}')) {
        do {
            skipSpace();
            const int line = lineAt(pos_);
            std::string key;
            if (!string(key)) return false;
            if (!eat(':')) return fail("キーの後に : がありません。");
            drawKey = drawKey || columnRole(key) == ColumnRole::Draw;
            const size_t at = pos_;
            if (eat('[') && peek() == '{') {
                if (draws)
                    return failAt(line, "当選データの配列が二つあります（キー" + quoted(*draws) +
                                            "と" + quoted(key) +
                                            "）。どちらを読むか決められません。");
                draws = key;
                if (!drawArray(rows)) return false;
                continue;
            }
            pos_ = at;
            if (eat('[') && eat(']')) {
                if (!empty) empty = key;
                continue;
            }
            pos_ = at;
            if (!skipValue(1)) return false;
        } while (eat(','));
        if (!eat('}')) return fail("オブジェクトの } がありません。");
    }
    if (!draws && !empty && drawKey) {
        // One draw alone, as the results API's latest.json: read again as a draw.
        pos_ = countedTo_ = start;
        line_ = startLine;
        LineRecord row;
        if (!drawObject(row)) return false;
        rows.push_back(row);
        return true;
    }
    return draws || empty || fail("当選データの配列（[{…}, …]）が見つかりません。");
}

ImportResult JsonReader::read(const std::string& encoding) {
    std::vector<LineRecord> rows;
    if (!topLevel(rows)) return result_;
    skipSpace();
    if (pos_ < s_.size()) {
        fail("JSON の終わりの後に余分な文字があります。");
        return result_;
    }
    result_.format = "JSON（" + encoding + "）";
    result_.ok = collectDraws(rows, result_);
    return result_;
}

ImportResult readJsonHistory(std::string_view text, const std::string& encoding) {
    return JsonReader(text).read(encoding);
}

} // namespace n4
