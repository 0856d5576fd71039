#include "core/import/HistoryCsv.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/import/HistoryValues.h"

namespace n4 {

namespace {

constexpr int kSampleLines = 10; // lines looked at to find the delimiter
constexpr int kLayoutLines = 20; // data lines tried to find the columns without a header
const char kDelimiters[] = {'\t', ',', ';'}; // preferred in this order on a tie

struct Line {
    std::string_view text;
    int number = 0;
};

// Lines in order with their numbers; CR LF, LF and a lone CR end a line.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}
    bool next(Line& line) {
        if (pos_ >= text_.size()) return false;
        size_t end = text_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = {text_.substr(pos_, end - pos_), ++number_};
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return true;
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
    int number_ = 0;
};

bool isBlank(std::string_view s) {
    return s.find_first_not_of(" \t") == std::string_view::npos;
}

// More fields than any history file has: a line with more is refused as soon
// as its splitting reaches them, and they are never made.
constexpr size_t kMostFields = 64;

enum class Split { Done, Unclosed, TooMany };

// Splits one line into fields, or without fields only counts them; count
// stops at kMostFields (TooMany when the line goes on).
Split splitFields(std::string_view line, char delimiter, std::vector<std::string>* fields,
                  size_t& count) {
    count = 0;
    if (fields) fields->clear();
    std::string field;
    size_t i = 0;
    for (;;) {
        if (count == kMostFields) return Split::TooMany;
        field.clear();
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t') && line[i] != delimiter)
            ++i;
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) return Split::Unclosed;
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    if (fields) field += '"';
                    i += 2;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    if (fields) field += line[i];
                    ++i;
                }
            }
        }
        const size_t end = std::min(line.find(delimiter, i), line.size());
        if (fields) fields->push_back(foldWidth(field.append(line.substr(i, end - i))));
        ++count;
        if (end >= line.size()) return Split::Done;
        i = end + 1; // past the delimiter
    }
}

size_t fieldCount(std::string_view line, char delimiter) {
    size_t count = 0;
    switch (splitFields(line, delimiter, nullptr, count)) {
    case Split::Done:
        return count;
    case Split::TooMany:
        return kMostFields + 1;
    case Split::Unclosed:
        break;
    }
    // A line with an unclosed quote still shows its delimiter; it is
    // refused later, with its line number.
    const auto delimiters = static_cast<size_t>(std::count(line.begin(), line.end(), delimiter));
    return std::min(delimiters + 1, kMostFields + 1);
}

// The delimiter that splits the first lines most consistently into two or
// more fields; 0 when none does.
char findDelimiter(const std::vector<std::string_view>& sample) {
    char best = 0;
    size_t bestSame = 0, bestFields = 0;
    for (char d : kDelimiters) {
        const size_t first = fieldCount(sample.front(), d);
        size_t same = 0, fewest = first;
        bool usable = first >= 2;
        for (std::string_view line : sample) {
            const size_t n = fieldCount(line, d);
            usable = usable && n >= 2;
            same += n == first;
            fewest = std::min(fewest, n);
        }
        if (usable && (same > bestSame || (same == bestSame && fewest > bestFields))) {
            best = d;
            bestSame = same;
            bestFields = fewest;
        }
    }
    return best;
}

const char* delimiterName(char d) {
    return d == '\t' ? "タブ区切り" : d == ',' ? "カンマ区切り" : "セミコロン区切り";
}

// Where the draw and its digits are; kNoColumn where a file has none.
constexpr int kNoColumn = -1;
struct Layout {
    int draw = kNoColumn;
    std::array<int, 4> digit{kNoColumn, kNoColumn, kNoColumn, kNoColumn};
    int number = kNoColumn; // with four digit columns too, the two must agree
    int date = kNoColumn;
    std::array<int, 4> prize{kNoColumn, kNoColumn, kNoColumn, kNoColumn}; // PrizeKind order
    size_t named = 0; // the columns a header names; 0 without a header
    bool hasDigits() const { return digit[0] >= 0; }
    size_t needed() const {
        return static_cast<size_t>(std::max({draw, digit[0], digit[1], digit[2], digit[3], number,
                                             date, prize[0], prize[1], prize[2], prize[3]})) +
               1;
    }
};

std::string joinNames(const std::vector<std::string>& names) {
    std::string s;
    for (const auto& n : names)
        s += (s.empty() ? "" : "・") + n;
    return s;
}

// A header names at least one known column. true when the line is one;
// error is set when it is a header the rows cannot be read by.
bool layoutFromHeader(const std::vector<std::string>& fields, Layout& layout, std::string& error) {
    std::vector<std::string> draws, numbers, digits[4];
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        const ColumnRole role = columnRole(fields[i]);
        if (role == ColumnRole::Draw) draws.push_back(fields[i]), layout.draw = i;
        if (role == ColumnRole::Number) numbers.push_back(fields[i]), layout.number = i;
        if (const int p = digitPosition(role); p >= 0)
            digits[p].push_back(fields[i]), layout.digit[p] = i;
        // A date or prize column named twice: the first is taken.
        if (role == ColumnRole::Date && layout.date < 0) layout.date = i;
        if (const int k = prizeKind(role); k >= 0 && layout.prize[k] < 0) layout.prize[k] = i;
    }
    const bool anyDigit =
        std::any_of(std::begin(digits), std::end(digits), [](const auto& d) { return !d.empty(); });
    if (draws.empty() && numbers.empty() && !anyDigit) return false;
    if (draws.size() != 1)
        error = draws.empty()
                    ? "見出しに回数の列（回・回号・開催回・draw・round など）がありません。"
                    : "回数の列が二つ以上あります（" + joinNames(draws) + "）。";
    else if (numbers.size() > 1)
        error = "当選番号の列が二つ以上あります（" + joinNames(numbers) + "）。";
    for (int p = 0; p < 4 && error.empty(); ++p) {
        const std::string name = "第" + std::to_string(p + 1) + "数字";
        if (digits[p].size() > 1)
            error = name + "の列が二つ以上あります（" + joinNames(digits[p]) + "）。";
        else if (digits[p].empty() && (anyDigit || numbers.empty()))
            error = anyDigit ? "見出しに" + name + "の列がありません。"
                             : "見出しに当選番号の列（当せん番号・第1数字～第4数字・d1～d4 など）が"
                               "ありません。";
    }
    return true;
}

// Without a header: the first whole number is the draw, then four one-digit
// columns in a row or one four-digit column.
bool layoutFromData(const std::vector<std::string>& fields, Layout& layout) {
    const int n = static_cast<int>(fields.size());
    int value = 0;
    int draw = 0;
    while (draw < n && readDrawNo(fields[draw], value) != CellRead::Ok)
        ++draw;
    if (draw >= n) return false;
    Layout l;
    l.draw = draw;
    // A date right after the draw number (2018/02/16) is the draw's date.
    if (int date = 0; draw + 1 < n && readDate(fields[draw + 1], date) == CellRead::Ok &&
                      fields[draw + 1].size() >= 8)
        l.date = draw + 1;
    for (int i = draw + 1; i < n && l.number < 0; ++i)
        if (fields[i].size() == 4 && std::all_of(fields[i].begin(), fields[i].end(),
                                                 [](char c) { return c >= '0' && c <= '9'; }))
            l.number = i;
    for (int i = draw + 1; i + 3 < n && !l.hasDigits(); ++i) {
        int d = 0;
        bool run = true;
        for (int k = 0; k < 4 && run; ++k)
            run = i + k != l.number && readDigit(fields[i + k], d) == CellRead::Ok;
        if (run)
            for (int k = 0; k < 4; ++k)
                l.digit[k] = i + k;
    }
    if (!l.hasDigits() && l.number < 0) return false;
    if (l.hasDigits() && l.number >= 0) {
        // A four-digit column that does not spell the digits is something else.
        std::string spelled;
        for (int k = 0; k < 4; ++k)
            spelled += fields[l.digit[k]];
        if (spelled != fields[l.number]) l.number = kNoColumn;
    }
    layout = l;
    return true;
}

bool readDigits(const std::vector<std::string>& f, const Layout& l, DrawRecord& r,
                std::string& error) {
    for (int p = 0; p < 4 && l.hasDigits(); ++p) {
        int d = 0;
        const CellRead read = readDigit(f[l.digit[p]], d);
        if (read == CellRead::Bad) {
            error = "第" + std::to_string(p + 1) + "数字" + quoted(f[l.digit[p]]) +
                    "が 0～9 の一けたではありません。";
            return false;
        }
        if (read == CellRead::Ok) r.digits[p] = d;
    }
    if (l.number < 0) return true;
    std::array<int, 4> number{kAbsentDigit, kAbsentDigit, kAbsentDigit, kAbsentDigit};
    const CellRead read = readWinningNumber(f[l.number], number);
    if (read == CellRead::Bad) {
        error = "当選番号" + quoted(f[l.number]) + "が 4 けたの数ではありません。";
        return false;
    }
    if (!l.hasDigits())
        r.digits = number;
    else if (read == CellRead::Ok && r.isComplete() && number != r.digits) {
        error = "当選番号" + quoted(f[l.number]) + "と第1～第4数字（" + digitsText(r.digits) +
                "）が合いません。";
        return false;
    }
    return true;
}

// One data line; false with error when it cannot be read.
bool readRow(const std::vector<std::string>& f, const Layout& l, DrawRecord& r,
             std::string& error) {
    if (f.size() < l.needed()) {
        error = "項目が足りません（" + std::to_string(l.needed()) + " 個必要なところ " +
                std::to_string(f.size()) + " 個）。";
        return false;
    }
    if (readDrawNo(f[l.draw], r.drawNo) != CellRead::Ok) {
        error = "回数" + quoted(f[l.draw]) + "を 1～99999 の数として読めません。";
        return false;
    }
    if (l.date >= 0 && !readDetailCell(ColumnRole::Date, f[l.date], r.details, error)) return false;
    for (int k = 0; k < 4; ++k)
        if (l.prize[k] >= 0 &&
            !readDetailCell(static_cast<ColumnRole>(static_cast<int>(ColumnRole::Straight) + k),
                            f[l.prize[k]], r.details, error))
            return false;
    return readDigits(f, l, r, error);
}

struct Reader {
    std::string_view text;
    char delimiter = 0;
    ImportResult result;

    bool fail(int line, const std::string& what) {
        result.message = atLine(line, what);
        return false;
    }
    bool split(const Line& line, std::vector<std::string>& fields) {
        size_t count = 0;
        switch (splitFields(line.text, delimiter, &fields, count)) {
        case Split::Done:
            return true;
        case Split::Unclosed:
            return fail(line.number, "引用符（\"）が閉じていません。");
        case Split::TooMany:
            break;
        }
        return fail(line.number, "項目が多すぎます（当選データの行は " +
                                     std::to_string(kMostFields) + " 項目までです）。");
    }
    bool findDelimiter();
    bool findLayout(Layout& layout, int& headerLine, bool& header);
    bool readRows(const Layout& layout, int headerLine, std::vector<LineRecord>& rows);
};

bool Reader::findDelimiter() {
    LineReader lines(text);
    std::vector<std::string_view> sample;
    Line line;
    int first = 0;
    while (static_cast<int>(sample.size()) < kSampleLines && lines.next(line))
        if (!isBlank(line.text)) {
            if (sample.empty()) first = line.number;
            sample.push_back(line.text);
        }
    if (sample.empty()) {
        result.message = "ファイルに当選データがありません（空です）。";
        return false;
    }
    delimiter = n4::findDelimiter(sample);
    if (delimiter == 0)
        return fail(first, "項目の区切り（カンマ・タブ・セミコロン）が見つかりません。");
    return true;
}

bool Reader::findLayout(Layout& layout, int& headerLine, bool& header) {
    LineReader lines(text);
    Line line;
    std::vector<std::string> fields;
    int tried = 0, first = 0;
    while (tried < kLayoutLines && lines.next(line)) {
        if (isBlank(line.text)) continue;
        if (!split(line, fields)) return false;
        if (tried++ == 0) {
            first = line.number;
            std::string error;
            if (layoutFromHeader(fields, layout, error)) {
                header = true;
                headerLine = line.number;
                layout.named = fields.size();
                return error.empty() || fail(line.number, error);
            }
        }
        if (layoutFromData(fields, layout)) return true;
    }
    return fail(first, "見出しに回数の列（回・回号・開催回・draw・round など）がなく、"
                       "回数と当選番号の並ぶ行としても読めません。");
}

bool Reader::readRows(const Layout& layout, int headerLine, std::vector<LineRecord>& rows) {
    LineReader lines(text);
    Line line;
    std::vector<std::string> fields;
    while (lines.next(line)) {
        if (line.number <= headerLine || isBlank(line.text)) continue;
        if (!split(line, fields)) return false;
        if (std::all_of(fields.begin(), fields.end(),
                        [](const std::string& f) { return f.empty(); }))
            continue;
        // A value beyond the header's columns belongs to none of them: the
        // row may be shifted. Empty fields at the end say nothing.
        size_t used = fields.size();
        while (used > 0 && fields[used - 1].empty())
            --used;
        if (layout.named > 0 && used > layout.named)
            return fail(line.number, "見出しの項目（" + std::to_string(layout.named) +
                                         " 個）より多い項目があります（" + std::to_string(used) +
                                         " 個目" + quoted(fields[used - 1]) +
                                         "）。どの列の値か決められません。");
        LineRecord row;
        row.line = line.number;
        std::string error;
        if (!readRow(fields, layout, row.record, error)) return fail(line.number, error);
        rows.push_back(row);
    }
    return true;
}

} // namespace

ImportResult readDelimitedHistory(std::string_view text, const std::string& encoding) {
    Reader reader;
    reader.text = text;
    Layout layout;
    int headerLine = 0;
    bool header = false;
    std::vector<LineRecord> rows;
    if (!reader.findDelimiter() || !reader.findLayout(layout, headerLine, header) ||
        !reader.readRows(layout, headerLine, rows))
        return reader.result;
    ImportResult& result = reader.result;
    result.format = std::string(reader.delimiter == '\t' ? "TSV" : "CSV") + "（" + encoding + "・" +
                    delimiterName(reader.delimiter) + "・" +
                    (header ? "見出しあり" : "見出しなし") + "）";
    result.ok = collectDraws(rows, result);
    return result;
}

ImportResult parseHistoryCsv(const std::string& bytes) {
    return readHistoryBytes(bytes);
}

} // namespace n4
