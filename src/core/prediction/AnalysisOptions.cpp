#include "core/prediction/AnalysisOptions.h"

namespace n4 {

namespace {
// Key 8 starts with an ASCII 5 while its caption reads 4: both are as users'
// settings files and screens have always had them.
const char* const kKeys[kOptionCount] = {
    "頻度分析Opt",      "間隔分析Opt",       "出現回数分析Opt", "バラツキ分析Opt",
    "引っ張り分析Opt",  "連番飛び石分析Opt", "数字合計分析Opt", "組合せパターン分析Opt",
    "5分割傾向分析Opt", "分割データ分析Opt",
};
const char* const kCaptions[kOptionGroupCount] = {
    "■頻度分析（出現頻度分析）",
    "■間隔分析（出現間隔分析）",
    "■出現回数分析",
    "■バラツキ分析",
    "■引っ張り分析",
    "■連番・飛び石分析",
    "■数字合計分析",
    "■組合せパターン分析",
    "■4分割傾向分析",
    "■分割データ分析",
    "■下一桁出現傾向分析",
    "■下一桁連続出現回数分析",
};
} // namespace

int AnalysisOptions::reflectedCount() const {
    int n = 0;
    for (bool f : flags)
        n += f ? 1 : 0;
    return n;
}

const char* optionKey(int k) {
    return k >= 0 && k < kOptionCount ? kKeys[k] : "";
}

const char* optionGroupCaption(int k) {
    return k >= 0 && k < kOptionGroupCount ? kCaptions[k] : "";
}

} // namespace n4
