#include "shell/AnalysisWindowTable.h"

#include <cstring>

namespace n4 {

const std::vector<AnalysisWindowInfo>& analysisWindowTable() {
    static const std::vector<AnalysisWindowInfo> table = {
        {"出現頻度分析", "mnuSyutugenHindo", "出現頻度分析",
         "過去の当選番号の出現回数を数字別に分析します", 5280, 13200, false, false,
         Legend::DrawnDigit, 2, 1, false},
        {"出現回数分析", "mnuZenkaiSyutugen", "出現回数分析",
         "過去の当選数字が何回出現したか分析します", 6280, 13850, false, true, Legend::None, 2, 1,
         true},
        {"回数別出現分析", "mnuSyutugenKaisu", "回数別頻度分析",
         "過去の当選番号から出現回数別の数字を分析します", 3405, 6700, false, true, Legend::None, 1,
         1, false},
        {"数字合計分析", "mnuHonsuji", "数字合計分析", "過去の当選番号の各数字の合計を分析します",
         4860, 13680, false, true, Legend::None, 1, 1, true},
        {"出現間隔分析", "mnuSyutugenKankaku", "出現間隔分析",
         "過去の当選数字が何回前に出現しているか分析します", 6140, 13800, false, true, Legend::None,
         2, 1, true},
        {"引っ張り分析", "mnuHippari", "引っ張り分析",
         "過去の当選数字に前回の数字が入っているか分析します", 7000, 13500, false, false,
         Legend::CarryOver, 1, 1, true},
        {"バラツキ分析", "mnuBaratsuki", "バラツキ分析",
         "過去の当選番号のバラツキを数字別に分析します", 7630, 13980, false, true,
         Legend::Dispersion, 2, 1, true},
        {"数字間隔分析", "mnuNumberKankaku", "数字間隔分析",
         "当選数字を第1数字～第4数字別に前回数字との数字の間隔を分析します", 7050, 13820, false,
         true, Legend::None, 2, 1, true},
        {"連番飛び石分析", "mnuRenbanTobiishi", "連番・飛び石分析",
         "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します", 7020, 13400, false, true,
         Legend::None, 1, 1, true},
        {"偶数奇数の組合せパターン分析", "mnuKisuGusuPattern", "偶数・奇数の組合せパターン分析",
         "過去の当選番号を偶数と奇数に分類して分析します", 5900, 13600, true, true, Legend::None, 1,
         1, true},
        {"低数字高数字の組合せパターン分析", "mnuLowHightPattern",
         "低数字・高数字の組合せパターン分析",
         "過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します",
         5900, 13600, true, true, Legend::None, 1, 1, true},
        {"分割3データ分析", "mnu3BunkatsuData", "3分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｃの３グループに分類して分析します", 12300, 12400,
         false, false, Legend::DrawnDigit, 3, 1, true},
        {"分割5データ分析", "mnu5BunkatsuData", "5分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｅの５グループに分類して分析します", 12300, 12400,
         false, false, Legend::DrawnDigit, 3, 1, true},
        {"分割10データ分析", "mnu10BunkatsuData", "10分割データ分析",
         "過去の当選番号の第１～４数字をＡ～Ｊの１０グループに分類して分析します", 12300, 12400,
         false, false, Legend::DrawnDigit, 3, 1, true},
        {"分割5傾向分析", "mnu5BunkatsuKeiko", "5分割傾向分析",
         "過去の当選番号の５グループに分類して分析します", 6900, 13750, true, true, Legend::None, 1,
         1, true},
    };
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
