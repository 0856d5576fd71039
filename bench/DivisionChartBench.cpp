// The largest window, the 10-group division chart, computed and filled at
// several history lengths, beside two anchors at the largest history measured
// in the same run:
//  - a naive grid: one QStandardItem per cell, the same set-up, headers and
//    fill written through the item model;
//  - the floor: the same final cells written once, row by row, into a freshly
//    allocated flat array of 16-byte cells.
// The summary prints the medians and the ratios the grid is held to.
#include <benchmark/benchmark.h>

#include <QBrush>
#include <QStandardItemModel>
#include <array>
#include <cstdint>
#include <map>
#include <memory>

#include "BenchSupport.h"
#include "core/analysis/division/DivisionAnalysis.h"
#include "core/analysis/division/DivisionScheme.h"
#include "core/store/StartupFigures.h"

namespace {

constexpr int kCols = 42;

const n4::DrawTable& history(int draws) {
    static std::map<int, n4::DrawTable> tables;
    auto it = tables.find(draws);
    if (it == tables.end()) it = tables.emplace(draws, n4bench::syntheticHistory(draws)).first;
    return it->second;
}

void BM_Division10(benchmark::State& state) {
    const n4::DrawTable& t = history(static_cast<int>(state.range(0)));
    const n4::StartupFigures f = n4::computeStartupFigures(t);
    for (auto _ : state) {
        n4::Grid g = n4::computeDivision10Analysis({t, f});
        // Reading the last cell makes sure the whole grid is there.
        benchmark::DoNotOptimize(g.background(kCols, g.maxRows()));
    }
}

// The band colour of each column of the 10-group chart (index 0 unused).
std::array<n4::Rgb, kCols + 1> bandOfColumn() {
    std::array<n4::Rgb, kCols + 1> bands{};
    for (int k = 0; k < 4; ++k)
        for (const n4::DivisionGroup& g : n4::divisionScheme10().groups)
            bands[10 * k + g.firstDigit + 2] = g.band;
    return bands;
}

void BM_NaiveItemGrid(benchmark::State& state) {
    const n4::DrawTable& t = history(n4bench::kLargestHistory);
    const auto bands = bandOfColumn();
    const QBrush yellow(QColor(255, 255, 200)), red(QColor(255, 0, 0)), pink(QColor(255, 200, 200));
    const QBrush blue(QColor(0, 0, 255)), mark(QColor(62, 158, 255));
    const int rows = static_cast<int>(t.size()) + 3;
    for (auto _ : state) {
        QStandardItemModel m(rows, kCols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < kCols; ++c) {
                // Only what differs from an empty item: colours, and the four
                // sides of every cell from the digit-label row down.
                auto* item = new QStandardItem;
                if (r >= 2) item->setData(15, Qt::UserRole);
                const n4::Rgb band = bands[c + 1];
                if (c == 0 || c == kCols - 1) {
                    item->setForeground(red);
                    item->setBackground(yellow);
                } else if (r == 0) {
                    item->setBackground(pink);
                } else if (!band.isNone()) {
                    item->setBackground(QBrush(QColor(band.r, band.g, band.b)));
                }
                m.setItem(r, c, item);
            }
        for (int c = 1; c < kCols - 1; ++c) {
            m.item(2, c)->setText(QString::number((c - 1) % 10));
            m.item(2, c)->setForeground(blue);
        }
        int r = 3;
        for (const n4::DrawRecord& d : t) {
            m.item(r, 0)->setText(QString::number(d.drawNo));
            m.item(r, kCols - 1)->setText(QString::number(d.drawNo));
            for (int k = 0; k < 4; ++k) {
                QStandardItem* item = m.item(r, 10 * k + d.digits[k] + 1);
                item->setText(QStringLiteral("●"));
                item->setForeground(mark);
            }
            ++r;
        }
        benchmark::DoNotOptimize(m.item(rows - 1, kCols - 1));
    }
}

// 16 bytes: text, colours, sides, alignment and a colour per side.
struct FlatCell {
    std::uint32_t text;
    std::uint8_t fg, bg, sides, align;
    std::uint8_t sideColour[4];
    std::uint32_t spare;
};
static_assert(sizeof(FlatCell) == 16);

void BM_FlatCellsFloor(benchmark::State& state) {
    const n4::DrawTable& t = history(n4bench::kLargestHistory);
    const std::size_t rows = t.size() + 3;
    std::uint8_t bandIndex[kCols + 1] = {};
    const auto bands = bandOfColumn();
    for (int c = 2; c < kCols; ++c)
        bandIndex[c] = bands[c].isNone() ? 0 : static_cast<std::uint8_t>(2 + (c - 2) % 5);
    constexpr std::uint32_t kDot = 1, kNumber = 0x80000000u;
    for (auto _ : state) {
        std::unique_ptr<FlatCell[]> cells(new FlatCell[rows * kCols]);
        FlatCell* p = cells.get();
        for (std::size_t r = 1; r <= rows; ++r) {
            const n4::DrawRecord* d = r > 3 ? &t[r - 4] : nullptr;
            for (int c = 1; c <= kCols; ++c, ++p) {
                const bool label = c == 1 || c == kCols;
                *p = FlatCell{label && d ? kNumber | static_cast<std::uint32_t>(d->drawNo) : 0u,
                              static_cast<std::uint8_t>(label ? 1 : 0),
                              static_cast<std::uint8_t>(label ? 8 : bandIndex[c]),
                              static_cast<std::uint8_t>(r >= 3 ? 15 : 0),
                              0,
                              {7, 7, 7, 7},
                              0};
            }
            if (d)
                for (int k = 0; k < 4; ++k) {
                    FlatCell& m = p[-kCols + 10 * k + d->digits[k] + 1];
                    m.text = kDot;
                    m.fg = 9;
                }
        }
        benchmark::DoNotOptimize(cells.get());
        benchmark::ClobberMemory();
    }
}

const int registered = [] {
    for (int draws : {1000, 8000, n4bench::kLargestHistory, 99999})
        benchmark::RegisterBenchmark("BM_Division10", BM_Division10)
            ->Arg(draws)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_NaiveItemGrid", BM_NaiveItemGrid)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_FlatCellsFloor", BM_FlatCellsFloor)
        ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

int main(int argc, char** argv) {
    const std::string largest = "BM_Division10/" + std::to_string(n4bench::kLargestHistory);
    return n4bench::runWithRatios(
        argc, argv,
        {{"naive item grid / division10", "BM_NaiveItemGrid", largest, "goal >= 30"},
         {"division10 / flat 16-byte floor", largest, "BM_FlatCellsFloor", "goal <= 1.5"},
         {"ns per draw, 99,999 / 8,000 draws", "BM_Division10/99999", "BM_Division10/8000",
          "goal <= 1.2", 99999, 8000}});
}
