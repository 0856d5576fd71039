// Filling the largest grid (42 x 32,767) cell by cell, beside a
// QStandardItemModel holding the same texts and colours.
#include <benchmark/benchmark.h>

#include <QBrush>
#include <QStandardItemModel>

#include "BenchSupport.h"
#include "core/grid/Grid.h"
#include "core/grid/Palette.h"

namespace {

constexpr int kCols = 42, kRows = 32767;

void BM_GridFill(benchmark::State& state) {
    for (auto _ : state) {
        n4::Grid g(kCols, kRows);
        g.setBackground({2, 2, 11, kRows}, n4::palette::Cyan);
        for (int row = 1; row <= kRows; ++row) {
            g.setNumber(1, row, row);
            g.setNumber(kCols, row, row);
            for (int k = 0; k < 4; ++k) {
                const int col = 10 * k + (row + k) % 10 + 2;
                g.setText(col, row, n4::marks::Dot);
                g.setForeground(n4::Block::cell(col, row), n4::palette::Mark);
            }
        }
        state.counters["bytes_per_cell"] = static_cast<double>(g.memoryBytes()) / (kCols * kRows);
        benchmark::DoNotOptimize(g.text(1, kRows));
    }
}
BENCHMARK(BM_GridFill)->Unit(benchmark::kMillisecond);

void BM_StandardItemModelFill(benchmark::State& state) {
    for (auto _ : state) {
        QStandardItemModel m(kRows, kCols);
        const QBrush cyan(QColor(200, 255, 255)), mark(QColor(62, 158, 255));
        for (int row = 0; row < kRows; ++row) {
            for (int col = 1; col <= 10; ++col)
                m.setData(m.index(row, col), cyan, Qt::BackgroundRole);
            m.setData(m.index(row, 0), QString::number(row + 1));
            m.setData(m.index(row, kCols - 1), QString::number(row + 1));
            for (int k = 0; k < 4; ++k) {
                const int col = 10 * k + (row + 1 + k) % 10 + 1;
                m.setData(m.index(row, col), QStringLiteral("●"));
                m.setData(m.index(row, col), mark, Qt::ForegroundRole);
            }
        }
        benchmark::DoNotOptimize(m.rowCount());
    }
}
BENCHMARK(BM_StandardItemModelFill)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return n4bench::runWithRatios(
        argc, argv, {{"item model / grid fill", "BM_StandardItemModelFill", "BM_GridFill", ""}});
}
