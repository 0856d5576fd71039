#include "core/analysis/AnalysisCatalog.h"

#include "core/analysis/division/DivisionAnalysis.h"
#include "core/analysis/division/TrendAnalysis.h"
#include "core/analysis/interval/CarryOverAnalysis.h"
#include "core/analysis/interval/DispersionAnalysis.h"
#include "core/analysis/interval/IntervalAnalysis.h"
#include "core/analysis/occurrence/ByCountAnalysis.h"
#include "core/analysis/occurrence/CountAnalysis.h"
#include "core/analysis/occurrence/FrequencyAnalysis.h"
#include "core/analysis/occurrence/SumAnalysis.h"
#include "core/analysis/pattern/CombinationPatternAnalysis.h"
#include "core/analysis/pattern/ConsecutiveAnalysis.h"
#include "core/analysis/pattern/DistanceAnalysis.h"

namespace n4 {

const std::vector<AnalysisEntry>& analysisCatalog() {
    static const std::vector<AnalysisEntry> entries = {
        {"frequency", "出現頻度分析", computeFrequencyAnalysis, "出現頻度分析", "出現頻度分析",
         "過去の当選番号の出現回数を数字別に分析します", 2},
        {"count", "出現回数分析", computeCountAnalysis, "出現回数分析", "出現回数分析",
         "過去の当選数字が何回出現したか分析します", 2},
        {"by-count", "回数別出現分析", computeByCountAnalysis, "回数別頻度分析", "回数別出現分析",
         "過去の当選番号から出現回数別の数字を分析します", 1},
        {"sum", "数字合計分析", computeSumAnalysis, "数字合計分析", "数字合計分析",
         "過去の当選番号の各数字の合計を分析します", 1},
        {"interval", "出現間隔分析", computeIntervalAnalysis, "出現間隔分析", "出現間隔分析",
         "過去の当選数字が何回前に出現しているか分析します", 2},
        {"carry-over", "引っ張り分析", computeCarryOverAnalysis, "引っ張り分析", "引っ張り分析",
         "過去の当選数字に前回の数字が入っているか分析します", 1},
        {"dispersion", "バラツキ分析", computeDispersionAnalysis, "バラツキ分析", "バラツキ分析",
         "過去の当選番号のバラツキを数字別に分析します", 2},
        {"distance", "数字間隔分析", computeDistanceAnalysis, "数字間隔分析", "数字間隔分析",
         "当選数字を第1数字～第4数字別に前回数字との数字の間隔を分析します", 2},
        {"consecutive", "連番飛び石分析", computeConsecutiveAnalysis, "連番・飛び石分析",
         "連番・飛び石分析", "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します", 1},
        {"even-odd", "偶数奇数の組合せパターン分析", computeEvenOddAnalysis,
         "偶数・奇数の組合せパターン分析", "偶数・奇数の組合せパターン分析",
         "過去の当選番号を偶数と奇数に分類して分析します", 1},
        {"low-high", "低数字高数字の組合せパターン分析", computeLowHighAnalysis,
         "低数字・高数字の組合せパターン分析", "低数字・高数字の組合せパターン分析",
         "過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します", 1},
        {"division3", "分割3データ分析", computeDivision3Analysis, "3分割データ分析",
         "3分割データ分析", "過去の当選番号の第１～４数字をＡ～Ｃの３グループに分類して分析します",
         3},
        {"division5", "分割5データ分析", computeDivision5Analysis, "5分割データ分析",
         "5分割データ分析", "過去の当選番号の第１～４数字をＡ～Ｅの５グループに分類して分析します",
         3},
        {"division10", "分割10データ分析", computeDivision10Analysis, "10分割データ分析",
         "10分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｊの１０グループに分類して分析します", 3},
        {"trend5", "分割5傾向分析", computeTrendAnalysis, "5分割傾向分析", "5分割傾向分析",
         "過去の当選番号の５グループに分類して分析します", 1},
    };
    return entries;
}

const AnalysisEntry* findAnalysis(const std::string& name) {
    for (const AnalysisEntry& e : analysisCatalog())
        if (name == e.cliName || name == e.windowName) return &e;
    return nullptr;
}

} // namespace n4
