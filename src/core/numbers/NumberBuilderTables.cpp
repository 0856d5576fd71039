#include "core/numbers/NumberBuilderTables.h"

#include <algorithm>

#include "core/analysis/common/GridSetup.h"
#include "core/grid/Palette.h"
#include "core/grid/PrintfText.h"

namespace n4 {

namespace {

struct DigitCounts {
    int sum = 0, even = 0, low = 0;
};

DigitCounts countsOf(int number) {
    DigitCounts c;
    for (int d : digitsOf(number)) {
        c.sum += d;
        c.even += d % 2 == 0;
        c.low += d <= 4;
    }
    return c;
}

const char* const kListHeaders[] = {"番号", "タイプ", "合計", "偶数の数", "低数字の数"};
constexpr int kListColumns = 5;
const double kListWidths[kListColumns] = {6, 11, 5, 8, 9};

// The figures run down the rows, the filter's numbers and all 10,000 side by
// side, so that the two can be read across.
const char* const kBoughtRows[] = {"買った回",
                                   "購入額",
                                   "当せん金",
                                   "収支",
                                   "還元率",
                                   "当せん ストレート",
                                   "当せん ボックス",
                                   "当せん セット(ストレート)",
                                   "当せん セット(ボックス)"};
constexpr int kBoughtRowCount = 9;
const double kBoughtWidths[] = {21, 16, 18};

// Header row pink, the first column as the analyses label their rows.
void setUpTable(Grid& g, int cols, int rows, const double* widths) {
    g.resize(cols, rows);
    g.setVisible(cols, rows);
    g.setRowHeight(-1, 14);
    for (int c = 1; c <= cols; ++c)
        g.setColWidth(c, widths[c - 1]);
    g.setBorder({1, 1, cols, rows}, BorderAll);
    g.setBackground({1, 1, cols, 1}, palette::HeaderPink);
    g.setForeground({1, 1, cols, 1}, palette::Blue);
    if (rows > 1) paintLabelCells(g, {1, 2, 1, rows});
}

std::string percent(double share) {
    return printfText("%.1f", share * 100);
}

void writeFigures(Grid& g, int col, const char* name, const BoughtFigures& f) {
    const std::string texts[kBoughtRowCount] = {
        groupedNumber(f.draws),         groupedNumber(f.spent) + " 円",
        groupedNumber(f.won) + " 円",   groupedNumber(f.balance()) + " 円",
        percent(f.returnRate()) + " %", groupedNumber(f.hits[1]),
        groupedNumber(f.hits[2]),       groupedNumber(f.hits[3]),
        groupedNumber(f.hits[4])};
    g.setText(col, 1, name);
    for (int r = 0; r < kBoughtRowCount; ++r)
        g.setText(col, r + 2, texts[r]);
    if (f.balance() < 0) g.setForeground(Block::cell(col, 5), palette::Red);
}

} // namespace

const char* numberListOrderName(NumberListOrder order) {
    static const char* const kNames[] = {"番号順", "合計の小さい順", "合計の大きい順", "タイプ順"};
    return kNames[static_cast<int>(order)];
}

std::vector<int> sortedNumbers(std::vector<int> numbers, NumberListOrder order) {
    std::sort(numbers.begin(), numbers.end());
    auto by = [&numbers](auto key) {
        std::stable_sort(numbers.begin(), numbers.end(),
                         [&key](int a, int b) { return key(a) < key(b); });
    };
    switch (order) {
    case NumberListOrder::Number:
        break;
    case NumberListOrder::SumAscending:
        by([](int n) { return countsOf(n).sum; });
        break;
    case NumberListOrder::SumDescending:
        by([](int n) { return -countsOf(n).sum; });
        break;
    case NumberListOrder::Type:
        by([](int n) { return static_cast<int>(typeOf(n)); });
        break;
    }
    return numbers;
}

Grid numberListGrid(const std::vector<int>& numbers) {
    Grid g;
    const int rows = 1 + static_cast<int>(numbers.size());
    setUpTable(g, kListColumns, rows, kListWidths);
    for (int c = 1; c <= kListColumns; ++c)
        g.setText(c, 1, kListHeaders[c - 1]);
    int row = 2;
    for (int n : numbers) {
        const DigitCounts c = countsOf(n);
        g.setText(1, row, fourDigits(n));
        g.setText(2, row, typeName(typeOf(n)));
        g.setNumber(3, row, c.sum);
        g.setNumber(4, row, c.even);
        g.setNumber(5, row, c.low);
        ++row;
    }
    return g;
}

std::string numberListCsv(const std::vector<int>& numbers) {
    std::string csv = "\xEF\xBB\xBF番号,タイプ,合計,偶数の数,低数字の数\n";
    csv.reserve(csv.size() + numbers.size() * 24);
    for (int n : numbers) {
        const DigitCounts c = countsOf(n);
        csv += fourDigits(n) + "," + typeName(typeOf(n)) + "," + std::to_string(c.sum) + "," +
               std::to_string(c.even) + "," + std::to_string(c.low) + "\n";
    }
    return csv;
}

std::string groupedNumber(long long value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return value < 0 ? "-" + out : out;
}

std::string passingCountText(int passing, const FilterShares& shares) {
    std::string s = "条件に合う番号: " + groupedNumber(passing) + " 通り（全 10,000 通りの " +
                    percent(passing / double(kNumberCount)) + " %）";
    if (shares.draws == 0) return s + "・過去の当選番号はまだありません";
    return s + "・過去の当選番号のうち " + percent(shares.ofDrawn()) + " % が条件に合っていました";
}

std::string purchaseCostText(int passing, BuyKind kind, int units) {
    const long long yen = static_cast<long long>(passing) * units * kTicketPrice;
    return "購入額: " + groupedNumber(yen) + " 円（" + buyKindName(kind) + " " +
           std::to_string(units) + " 口 × " + groupedNumber(passing) + " 通り）";
}

Grid ifBoughtGrid(const IfBoughtResult& result) {
    Grid g;
    setUpTable(g, 3, 1 + kBoughtRowCount, kBoughtWidths);
    g.setText(1, 1, "対象");
    for (int r = 0; r < kBoughtRowCount; ++r)
        g.setText(1, r + 2, kBoughtRows[r]);
    writeFigures(g, 2, "条件に合う番号", result.filtered);
    writeFigures(g, 3, "全 10,000 番号", result.all);
    return g;
}

std::string ifBoughtSummary(const IfBoughtResult& result, BuyKind kind) {
    const BoughtFigures& f = result.filtered;
    if (f.draws == 0) return "範囲に当選がありません。回数の範囲を見直してください。";
    return "第" + std::to_string(f.drawNos.front()) + "回～第" + std::to_string(f.drawNos.back()) +
           "回の " + groupedNumber(f.draws) + " 回、条件に合う番号を" + buyKindName(kind) +
           "で 1 口ずつ買っていたら:\n収支 " + groupedNumber(f.balance()) + " 円（還元率 " +
           percent(f.returnRate()) + " %、全 10,000 番号なら " + percent(result.all.returnRate()) +
           " %）";
}

std::string unknownPrizesText(const IfBoughtResult& result) {
    if (result.filtered.unknownPrizes == 0 && result.all.unknownPrizes == 0) return "";
    return "賞金不明の当せん " + groupedNumber(result.filtered.unknownPrizes) +
           " 件は合計に含まれません（全 10,000 番号では " +
           groupedNumber(result.all.unknownPrizes) + " 件）。";
}

} // namespace n4
