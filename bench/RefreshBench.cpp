// The refresh after a change: MainFrm::reloadDrawTable and the repaint of
// every open window (the fifteen analyses and the prediction, nineteen grids),
// beside repainting the same grids alone, at 32,764 and at 99,999 draws. The
// change is a digit written by the program's own store before each refresh
// (outside the timing); a second row has another program write it instead.
//
// Before the timings, the resident memory with every window open (the back-test
// computed to its end each time) after 1 and after 20 refreshes, at
// --memory_draws=N (32,764 unless given; 0 leaves it out).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "core/store/DrawStore.h"
#include "ui/common/MessageSink.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/prediction/PredictionWindow.h"
#include "ui/shell/AnalysisWindowTable.h"
#include "ui/shell/ProgramStart.h"

namespace {

constexpr int kMostDraws = 99999;

QApplication& app() {
    static int argc = 1;
    static char arg0[] = "bench";
    static char* argv[] = {arg0, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication a(argc, argv);
    return a;
}

// Nothing is shown: a message would wait for a click.
class QuietSink : public n4::MessageSink {
  public:
    void critical(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    void information(QWidget*, const QString&, const QString&) override {}
    void warning(QWidget*, const QString&, const QString&) override {}
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    int choose(QWidget*, const QString&, const QString&, const QStringList&, int,
               int escape) override {
        return escape;
    }
};

// The program over a database of draws numbered 1..count, with the windows
// open; the writer changes the last draw's first digit as data entry would.
struct Program {
    std::string folder;
    QuietSink sink;
    std::unique_ptr<n4::MainFrm> main;
    std::unique_ptr<n4::DrawStore> writer;
    std::vector<n4::GridView*> views;
    int flips = 0, lastDraw;

    Program(int count, bool everyWindow) : lastDraw(count) {
        app();
        folder =
            (std::filesystem::temp_directory_path() / ("n4bench-refresh-" + std::to_string(count)))
                .string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        n4::ShellConfig config{folder, folder + "/settings.ini", folder};
        const auto conn = n4::DbConnectionString::forProgramFolder(folder);
        n4::DrawStore::create(conn, n4bench::syntheticHistory(count));
        main = n4::startShell(config, &sink);
        for (const n4::AnalysisWindowInfo& info : n4::analysisWindowTable()) {
            main->openAnalysis(QString::fromUtf8(info.name));
            auto* frame = qobject_cast<n4::AnalysisFrame*>(
                main->openWindow(QString::fromUtf8(info.name))->widget());
            views.push_back(frame->gridView());
        }
        auto* prediction = qobject_cast<n4::PredictionWindow*>(
            main->openWindow(QStringLiteral("一発マーヴォ"))->widget());
        for (int g = 0; g < 4; ++g)
            views.push_back(prediction->gridView(g));
        if (everyWindow) {
            main->openNumberLookup();
            main->openNumberBuilder();
            main->openBacktest();
            waitForBacktest();
        }
        n4::StoreResult r;
        writer = n4::DrawStore::open(conn, r);
    }
    ~Program() {
        writer.reset();
        main.reset();
        std::filesystem::remove_all(folder);
    }

    void changeADigit() { writer->setDigit(lastDraw, 1, ++flips % 10); }
    // The same change by another program: its own connection, not the program's store.
    void changeADigitElsewhere() {
        const auto conn = n4::DbConnectionString::forProgramFolder(folder);
        sqlite3* db = nullptr;
        sqlite3_open(conn.dataSource.c_str(), &db);
        const std::string sql = "PRAGMA key = '" + conn.password +
                                "'; UPDATE 当選番号 SET 第1数字 = " + std::to_string(++flips % 10) +
                                " WHERE 回数 = " + std::to_string(lastDraw);
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    void repaint() {
        for (n4::GridView* view : views) {
            QPixmap target(view->size());
            view->render(&target);
            benchmark::DoNotOptimize(target.cacheKey());
        }
    }
    void refresh() {
        if (!main->reloadDrawTable()) std::fprintf(stderr, "the refresh failed\n");
        repaint();
    }
    void waitForBacktest() {
        QMdiSubWindow* sub = main->openWindow(QStringLiteral("予想の検証"));
        auto* backtest = sub ? qobject_cast<n4::BacktestWindow*>(sub->widget()) : nullptr;
        while (backtest && backtest->isComputing())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
};

// One program for each history, closed before the application goes.
std::map<int, std::unique_ptr<Program>> programs;

Program& program(int count) {
    auto& p = programs[count];
    if (!p) p = std::make_unique<Program>(count, false);
    return *p;
}

void BM_Refresh(benchmark::State& state) {
    Program& p = program(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        p.changeADigit();
        state.ResumeTiming();
        p.refresh();
    }
}
BENCHMARK(BM_Refresh)
    ->Arg(n4bench::kLargestHistory)
    ->Arg(kMostDraws)
    ->Unit(benchmark::kMillisecond);

void BM_RefreshAfterAnotherProgram(benchmark::State& state) {
    Program& p = program(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        p.changeADigitElsewhere();
        state.ResumeTiming();
        p.refresh();
    }
}
BENCHMARK(BM_RefreshAfterAnotherProgram)
    ->Arg(n4bench::kLargestHistory)
    ->Arg(kMostDraws)
    ->Unit(benchmark::kMillisecond);

void BM_Repaint(benchmark::State& state) {
    Program& p = program(static_cast<int>(state.range(0)));
    for (auto _ : state)
        p.repaint();
}
BENCHMARK(BM_Repaint)
    ->Arg(n4bench::kLargestHistory)
    ->Arg(kMostDraws)
    ->Unit(benchmark::kMillisecond);

double residentMiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// Resident memory after the first refresh and after the twentieth.
void measureMemory(int count) {
    Program p(count, true);
    double first = 0;
    for (int refresh = 1; refresh <= 20; ++refresh) {
        p.changeADigit();
        p.refresh();
        p.waitForBacktest();
        if (refresh == 1) first = residentMiB();
    }
    const double twentieth = residentMiB();
    std::printf("resident memory, every window open, %d draws: after 1 refresh %.1f MiB,"
                " after 20 %.1f MiB\n",
                count, first, twentieth);
    std::printf("%-44s %10.2f   %s\n\n", "memory after 20 refreshes / after 1", twentieth / first,
                "<= 1.1");
}

} // namespace

int main(int argc, char** argv) {
    int memoryDraws = n4bench::kLargestHistory;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--memory_draws=", 15) == 0)
            memoryDraws = std::atoi(argv[i] + 15);
        else
            rest.push_back(argv[i]);
    }
    if (memoryDraws > 0) measureMemory(memoryDraws);
    const int status = n4bench::runWithRatios(
        static_cast<int>(rest.size()), rest.data(),
        {{"refresh / repaint, 32,764 draws", "BM_Refresh/32764", "BM_Repaint/32764", "<= 1.5"},
         {"refresh / repaint, 99,999 draws", "BM_Refresh/99999", "BM_Repaint/99999", "<= 2"},
         {"refresh after another program / repaint, 32,764", "BM_RefreshAfterAnotherProgram/32764",
          "BM_Repaint/32764", ""},
         {"refresh after another program / repaint, 99,999", "BM_RefreshAfterAnotherProgram/99999",
          "BM_Repaint/99999", ""}});
    programs.clear();
    return status;
}
