#include "core/prediction/BacktestWording.h"

#include <cmath>

#include "core/grid/PrintfText.h"
#include "core/prediction/BacktestTable.h"

namespace n4 {

namespace {

// The method's name without the blanks that line names up in the grids.
std::string plainName(const std::string& name) {
    const auto first = name.find_first_not_of(' ');
    return first == std::string::npos ? name : name.substr(first);
}

std::string threshold() {
    return printfText("%g %%", kBacktestSignificance * 100);
}

// What was counted and what chance would give.
std::string counted(const MethodTally& m) {
    const std::string chance = formatTenths(m.expectedTenths);
    if (m.kind == MethodKind::Position)
        return printfText("%lld 回で予想した %lld 桁のうち、当たったのは %lld 桁（偶然なら平均 "
                          "%s 桁）。",
                          m.draws, m.expectedTenths, m.hits, chance.c_str());
    return printfText("%lld 回の当選数字 %lld 桁のうち、予想した数字に入っていた（当たった）のは "
                      "%lld 桁（偶然なら平均 %s 桁）、4 桁とも当たった回は %lld 回（偶然なら平均 "
                      "%.2f 回）。",
                      m.draws, m.draws * 4, m.hits, chance.c_str(), m.allFour, m.allFourExpected());
}

// The p-value in words, the threshold and what follows from it.
std::string judged(const MethodTally& m) {
    std::string s =
        "偶然でも平均からこれ以上離れる確率は " + formatPercent(m.pValue) + "。" + threshold();
    if (m.pValue >= kBacktestSignificance) return s + " を下回らないので、偶然と区別できません。";
    return s + " を下回るので、偶然より" + (m.hits * 10 > m.expectedTenths ? "良い" : "悪い") +
           "といえます。";
}

} // namespace

std::string backtestSentence(const MethodTally& m) {
    const std::string name = plainName(m.name) + "：";
    if (m.draws == 0) return name + "この範囲では予想がありませんでした。";
    return name + counted(m) + judged(m);
}

std::vector<std::string> backtestNotes() {
    return {
        "当たった桁：周期法は、予想した桁の数字が当選数字と同じだった桁の数です。消去法・連発予想・"
        "１発予想は、当選数字 4 "
        "桁のうち予想した数字に入っていた桁の数です。回ではなく桁を数えます。",
        "偶然の平均：数字をでたらめに選んでも平均してこれだけは当たる数です（1 桁に数字 1 つなら "
        "10 分の 1、数字 s 個なら 10 分の s）。偶然との比は、当たった桁 ÷ 偶然の平均です。",
        "p値：予想に力がなく当たりが偶然だけで決まるとしても、当たった桁の数が偶然の平均からこれ以"
        "上"
        "離れる確率です。" +
            threshold() + " を下回ったときだけ、偶然より良い・悪いと判定します。",
    };
}

std::string backtestChartNote() {
    return "赤い線は、その回までに当たった桁の数から偶然の平均を引いた差です。水色の帯（±2σ、σ "
           "は偶然のばらつき）には、偶然ならおよそ 95 % の確率で線が入ります。";
}

std::string formatPercent(double p) {
    const double percent = p * 100;
    if (percent < 0.0001) return "0.0001 % 未満";
    if (percent >= 10) return printfText("%.0f %%", percent);
    if (percent >= 1) return printfText("%.1f %%", percent);
    // Two figures, cut: 0.996 % is 0.99 %, never 1.0 %.
    const int decimals = 1 - static_cast<int>(std::floor(std::log10(percent)));
    const double scale = std::pow(10.0, decimals);
    return printfText("%.*f %%", decimals, std::floor(percent * scale * (1 + 1e-12)) / scale);
}

} // namespace n4
