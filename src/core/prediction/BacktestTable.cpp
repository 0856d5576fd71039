#include "core/prediction/BacktestTable.h"

#include "core/grid/Palette.h"
#include "core/grid/PrintfText.h"

namespace n4 {

namespace {

enum Column { Name = 1, Draws, Hits, Expected, Ratio, PValue, Verdict, AllFour, AllFourExpected };
constexpr int kColumns = AllFourExpected;

// Plain words: a hit is a digit (a position of the draw), not a draw; the
// sentences under the table say how each figure was counted.
const char* const kHeaders[kColumns] = {"予想手法",   "予想した回数",      "当たった桁",
                                        "偶然の平均", "偶然との比",        "p値",
                                        "判定",       "4桁とも当たった回", "偶然の平均"};
const double kWidths[kColumns] = {8, 9, 7, 7, 7, 7, 13, 12, 7};

std::string fixed(double v, int decimals) {
    return printfText("%.*f", decimals, v);
}

void setUp(Grid& g, int rows) {
    g.resize(kColumns, rows);
    g.setVisible(kColumns, rows);
    g.setRowHeight(-1, 14);
    for (int c = 1; c <= kColumns; ++c)
        g.setColWidth(c, kWidths[c - 1]);
    g.setBorder({1, 1, kColumns, rows}, BorderAll);
    g.setBackground({1, 1, kColumns, 1}, palette::HeaderPink);
    g.setForeground({1, 1, kColumns, 1}, palette::Blue);
    g.setBackground({1, 2, 1, rows}, palette::LabelYellow);
    g.setForeground({1, 2, 1, rows}, palette::Red);
}

void writeMethod(Grid& g, int row, const MethodTally& m) {
    g.setText(Name, row, m.name);
    g.setNumber(Draws, row, m.draws);
    g.setNumber(Hits, row, m.hits);
    g.setText(Expected, row, formatTenths(m.expectedTenths));
    g.setText(Ratio, row, m.expectedTenths ? fixed(m.ratio(), 3) : "");
    g.setText(PValue, row, formatPValue(m.pValue));
    g.setText(Verdict, row, backtestVerdict(m));
    if (m.pValue < kBacktestSignificance)
        g.setBackground(Block::cell(Verdict, row),
                        m.hits * 10 > m.expectedTenths ? palette::Green : palette::Magenta);
    if (m.kind == MethodKind::Set) {
        g.setNumber(AllFour, row, m.allFour);
        g.setText(AllFourExpected, row, fixed(m.allFourExpected(), 2));
    }
}

} // namespace

std::string formatPValue(double p) {
    if (p >= 0.0001) return fixed(p, 4);
    if (p <= 0) return "1e-40未満"; // beyond what the test computes
    return printfText("%.1e", p);
}

std::string formatTenths(long long tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

Grid backtestGrid(const BacktestResult& r) {
    Grid g;
    setUp(g, 1 + kBacktestMethods);
    for (int c = 1; c <= kColumns; ++c)
        g.setText(c, 1, kHeaders[c - 1]);
    for (int m = 0; m < kBacktestMethods; ++m)
        writeMethod(g, m + 2, r.methods[m]);
    return g;
}

} // namespace n4
