#include "core/analysis/division/DivisionScheme.h"

#include "core/grid/Palette.h"

namespace n4 {

namespace {
const char* const kLetters[] = {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｉ", "Ｊ"};
const char* const kIdeographicSpace = "　";
} // namespace

const DivisionScheme& divisionScheme3() {
    static const DivisionScheme s{"分割3データ分析",
                                  {{"　　 Ａ ", 0, 2, palette::Cyan},
                                   {"　　 Ｂ ", 3, 5, Rgb::none()},
                                   {"　　　 Ｃ 　　", 6, 9, palette::Green}},
                                  false,
                                  false};
    return s;
}

const DivisionScheme& divisionScheme5() {
    static const DivisionScheme s = [] {
        DivisionScheme d{"分割5データ分析", {}, false, true};
        const Rgb bands[] = {palette::Cyan, Rgb::none(), palette::Green, Rgb::none(),
                             palette::Magenta};
        for (int g = 0; g < 5; ++g)
            d.groups.push_back(
                {std::string(kIdeographicSpace) + kLetters[g] + " ", 2 * g, 2 * g + 1, bands[g]});
        return d;
    }();
    return s;
}

const DivisionScheme& divisionScheme10() {
    static const DivisionScheme s = [] {
        DivisionScheme d{"分割10データ分析", {}, true, true};
        const Rgb bands[] = {palette::Cyan, palette::Green, palette::Magenta, palette::Lavender,
                             Rgb::none()};
        for (int g = 0; g < 10; ++g)
            d.groups.push_back({kLetters[g], g, g, bands[g % 5]});
        return d;
    }();
    return s;
}

} // namespace n4
