#include "core/grid/HtmlLooks.h"

#include <algorithm>
#include <map>

namespace n4 {

namespace {

std::uint32_t packed(Rgb c) {
    return static_cast<std::uint32_t>((c.r & 0xff) << 16 | (c.g & 0xff) << 8 | (c.b & 0xff));
}

std::uint32_t packedColour(Rgb c) {
    return c.isNone() ? CellLook::kNoColour : packed(c);
}

std::uint32_t packedLine(const GridLine& line) {
    return line.drawn ? packed(line.colour) : CellLook::kNoColour;
}

void appendColour(std::string& out, std::uint32_t colour) {
    appendHex(out, Rgb(static_cast<int>(colour >> 16 & 0xff), static_cast<int>(colour >> 8 & 0xff),
                       static_cast<int>(colour & 0xff)));
}

void appendProperty(std::string& out, const char* name, std::uint32_t colour) {
    if (colour == CellLook::kNoColour) return;
    out += name;
    appendColour(out, colour);
    out += ';';
}

// "a".."z", "aa".."zz", ...
std::string className(std::size_t index) {
    std::string name;
    for (++index; index > 0; index = (index - 1) / 26)
        name.insert(name.begin(), static_cast<char>('a' + (index - 1) % 26));
    return name;
}

} // namespace

CellLook cellLook(const Grid& grid, const CellSpan& span, int row, const RowLines& lines) {
    const int c = span.textCol;
    return CellLook{
        packedColour(grid.foreground(c, row)), packedColour(grid.background(c, row)),
        packedLine(lines.left[span.col]),      packedLine(lines.left[span.col + span.cols]),
        packedLine(lines.above[span.col]),     packedLine(lines.below[span.col]),
        grid.align(c, row) == Align::Left};
}

std::string lookCss(const CellLook& look) {
    std::string css;
    appendProperty(css, "color:", look.fg);
    appendProperty(css, "background:", look.bg);
    if (look.leftAligned) css += "text-align:left;";
    if (look.left != CellLook::kNoColour && look.left == look.right && look.left == look.top &&
        look.left == look.bottom) {
        appendProperty(css, "border:1px solid ", look.left);
        return css;
    }
    appendProperty(css, "border-left:1px solid ", look.left);
    appendProperty(css, "border-right:1px solid ", look.right);
    appendProperty(css, "border-top:1px solid ", look.top);
    appendProperty(css, "border-bottom:1px solid ", look.bottom);
    return css;
}

std::size_t PageLooks::Hash::operator()(const CellLook& look) const {
    std::uint64_t h = look.leftAligned;
    for (std::uint32_t v : {look.fg, look.bg, look.left, look.right, look.top, look.bottom})
        h = (h ^ v) * 0x100000001b3ull + (h >> 29);
    return static_cast<std::size_t>(h);
}

std::uint32_t PageLooks::count(const CellLook& look, int col) {
    const auto slot = static_cast<std::size_t>(std::max(col, 0));
    if (slot >= recent_.size()) recent_.resize(slot + 1, Recent{CellLook{}, kNoId});
    Recent& recent = recent_[slot];
    if (recent.id == kNoId || !(recent.look == look)) {
        const auto [at, added] = ids_.try_emplace(look, static_cast<std::uint32_t>(counts_.size()));
        if (added) {
            counts_.push_back(0);
            css_.push_back(lookCss(look));
        }
        recent = Recent{look, at->second};
    }
    ++counts_[recent.id];
    return recent.id;
}

void PageLooks::nameClasses() {
    // Looks with the same CSS are one class; a plain cell needs none.
    std::map<std::string, std::size_t> byCss;
    for (std::size_t id = 0; id < css_.size(); ++id)
        if (!css_[id].empty()) byCss[css_[id]] += counts_[id];
    std::vector<std::pair<std::string, std::size_t>> byCount(byCss.begin(), byCss.end());
    std::stable_sort(byCount.begin(), byCount.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::map<std::string, std::string> names, rules;
    for (std::size_t i = 0; i < byCount.size(); ++i) {
        names.emplace(byCount[i].first, className(i));
        rules.emplace(className(i), byCount[i].first);
    }
    classes_.clear();
    for (const std::string& css : css_)
        classes_.push_back(css.empty() ? std::string() : names[css]);
    rules_.clear();
    for (const auto& [name, css] : rules)
        rules_ += "." + name + "{" + css + "}\n";
}

void PageLooks::appendRules(std::string& out) const {
    out += rules_;
}

} // namespace n4
