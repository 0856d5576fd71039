#include "ui/shell/AnalysisWindowTable.h"

#include <cstring>

namespace n4 {

namespace {

// What only the window needs; its caption, label and title rows are the
// analysis catalog's, which the command-line tool's pages and pictures use too.
struct WindowRow {
    const char* name;
    const char* menu;
    int widthTwips, heightTwips;
    bool propEndOnOpen;
    bool printButton;
    Legend legend;
    int frozenCols;
    OpensAt opensAt;
};

AnalysisWindowInfo withCatalog(const WindowRow& r) {
    const AnalysisEntry* entry = findAnalysis(r.name);
    return AnalysisWindowInfo{r.name,       r.menu,           entry->caption,  entry->label,
                              r.widthTwips, r.heightTwips,    r.propEndOnOpen, r.printButton,
                              r.legend,     entry->titleRows, r.frozenCols,    r.opensAt};
}

} // namespace

const std::vector<AnalysisWindowInfo>& analysisWindowTable() {
    static const WindowRow rows[] = {
        {"出現頻度分析", "mnuSyutugenHindo", 5280, 13200, false, false, Legend::DrawnDigit, 1,
         OpensAt::WhereColumnsDiffer},
        {"出現回数分析", "mnuZenkaiSyutugen", 6280, 13850, false, true, Legend::None, 1,
         OpensAt::Latest},
        {"回数別出現分析", "mnuSyutugenKaisu", 3405, 6700, false, true, Legend::None, 1,
         OpensAt::First},
        {"数字合計分析", "mnuHonsuji", 4860, 13680, false, true, Legend::None, 1, OpensAt::Latest},
        {"出現間隔分析", "mnuSyutugenKankaku", 6140, 13800, false, true, Legend::None, 1,
         OpensAt::Latest},
        {"引っ張り分析", "mnuHippari", 7000, 13500, false, false, Legend::CarryOver, 1,
         OpensAt::Latest},
        {"バラツキ分析", "mnuBaratsuki", 7630, 13980, false, true, Legend::Dispersion, 1,
         OpensAt::Latest},
        {"数字間隔分析", "mnuNumberKankaku", 7050, 13820, false, true, Legend::None, 1,
         OpensAt::Latest},
        {"連番飛び石分析", "mnuRenbanTobiishi", 7020, 13400, false, true, Legend::None, 1,
         OpensAt::Latest},
        {"偶数奇数の組合せパターン分析", "mnuKisuGusuPattern", 5900, 13600, true, true,
         Legend::None, 1, OpensAt::Latest},
        {"低数字高数字の組合せパターン分析", "mnuLowHightPattern", 5900, 13600, true, true,
         Legend::None, 1, OpensAt::Latest},
        {"分割3データ分析", "mnu3BunkatsuData", 12300, 12400, false, false, Legend::DrawnDigit, 1,
         OpensAt::Latest},
        {"分割5データ分析", "mnu5BunkatsuData", 12300, 12400, false, false, Legend::DrawnDigit, 1,
         OpensAt::Latest},
        {"分割10データ分析", "mnu10BunkatsuData", 12300, 12400, false, false, Legend::DrawnDigit, 1,
         OpensAt::Latest},
        {"分割5傾向分析", "mnu5BunkatsuKeiko", 6900, 13750, true, true, Legend::None, 1,
         OpensAt::Latest},
    };
    static const std::vector<AnalysisWindowInfo> table = [] {
        std::vector<AnalysisWindowInfo> t;
        for (const WindowRow& r : rows)
            t.push_back(withCatalog(r));
        return t;
    }();
    return table;
}

const AnalysisWindowInfo* findAnalysisWindow(const char* name) {
    for (const auto& info : analysisWindowTable())
        if (std::strcmp(info.name, name) == 0) return &info;
    return nullptr;
}

ComputeFn computeFor(const AnalysisWindowInfo& info) {
    const AnalysisEntry* entry = findAnalysis(info.name);
    return entry ? entry->compute : nullptr;
}

} // namespace n4
