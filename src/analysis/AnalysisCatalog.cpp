#include "analysis/AnalysisCatalog.h"

#include "analysis/division/DivisionAnalysis.h"
#include "analysis/division/TrendAnalysis.h"
#include "analysis/interval/CarryOverAnalysis.h"
#include "analysis/interval/DispersionAnalysis.h"
#include "analysis/interval/IntervalAnalysis.h"
#include "analysis/occurrence/ByCountAnalysis.h"
#include "analysis/occurrence/CountAnalysis.h"
#include "analysis/occurrence/FrequencyAnalysis.h"
#include "analysis/occurrence/SumAnalysis.h"
#include "analysis/pattern/CombinationPatternAnalysis.h"
#include "analysis/pattern/ConsecutiveAnalysis.h"
#include "analysis/pattern/DistanceAnalysis.h"

namespace n4 {

const std::vector<AnalysisEntry>& analysisCatalog() {
    static const std::vector<AnalysisEntry> entries = {
        {"frequency", "出現頻度分析", computeFrequencyAnalysis},
        {"count", "出現回数分析", computeCountAnalysis},
        {"by-count", "回数別出現分析", computeByCountAnalysis},
        {"sum", "数字合計分析", computeSumAnalysis},
        {"interval", "出現間隔分析", computeIntervalAnalysis},
        {"carry-over", "引っ張り分析", computeCarryOverAnalysis},
        {"dispersion", "バラツキ分析", computeDispersionAnalysis},
        {"distance", "数字間隔分析", computeDistanceAnalysis},
        {"consecutive", "連番飛び石分析", computeConsecutiveAnalysis},
        {"even-odd", "偶数奇数の組合せパターン分析", computeEvenOddAnalysis},
        {"low-high", "低数字高数字の組合せパターン分析", computeLowHighAnalysis},
        {"division3", "分割3データ分析", computeDivision3Analysis},
        {"division5", "分割5データ分析", computeDivision5Analysis},
        {"division10", "分割10データ分析", computeDivision10Analysis},
        {"trend5", "分割5傾向分析", computeTrendAnalysis},
    };
    return entries;
}

const AnalysisEntry* findAnalysis(const std::string& name) {
    for (const AnalysisEntry& e : analysisCatalog())
        if (name == e.cliName || name == e.windowName) return &e;
    return nullptr;
}

} // namespace n4
