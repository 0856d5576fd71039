#pragma once
// The looks of an HTML page's cells. A look is what sets a cell apart from a
// plain one: its colours, its alignment and the lines around it. The page is
// read twice: first every cell's look is counted, then the cells are written
// with their looks' classes. Each distinct look is turned into CSS once, and
// looks whose CSS is the same share one class; the most frequent CSS has the
// shortest class name.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/grid/Grid.h"
#include "core/grid/GridHtml.h"
#include "core/grid/GridLines.h"

namespace n4 {

// One look in a few words: colours as 0xrrggbb, kNoColour for the default
// colour or for no line.
struct CellLook {
    static constexpr std::uint32_t kNoColour = 0xffffffffu;
    std::uint32_t fg, bg, left, right, top, bottom;
    bool leftAligned;
    bool operator==(const CellLook& o) const {
        return fg == o.fg && bg == o.bg && left == o.left && right == o.right && top == o.top &&
               bottom == o.bottom && leftAligned == o.leftAligned;
    }
};

// The look of the span's text cell, with the lines around the whole span
// (the lines of its row, as readRowLines gives them).
CellLook cellLook(const Grid& grid, const CellSpan& span, int row, const RowLines& lines);
// The CSS of a look ("" for a plain cell).
std::string lookCss(const CellLook& look);

class PageLooks {
  public:
    // One more cell of the page has this look; its number among the looks.
    // A cell mostly looks like the one above it: given the cell's column,
    // the look is found without a search when it is that column's last one.
    std::uint32_t count(const CellLook& look, int col);
    // Gives every counted look its class; call once, after the last count.
    void nameClasses();
    // The class of a look by its number, "" for a plain cell.
    const std::string& classOf(std::uint32_t look) const { return classes_[look]; }
    // The page's style rules, ".name{css}" a line, in the order of the names.
    void appendRules(std::string& out) const;

  private:
    struct Hash {
        std::size_t operator()(const CellLook& look) const;
    };
    static constexpr std::uint32_t kNoId = 0xffffffffu;
    struct Recent {
        CellLook look;
        std::uint32_t id;
    };
    std::unordered_map<CellLook, std::uint32_t, Hash> ids_;
    std::vector<Recent> recent_;       // by column
    std::vector<std::size_t> counts_;  // by id
    std::vector<std::string> css_;     // by id
    std::vector<std::string> classes_; // by id, once named
    std::string rules_;                // once named
};

} // namespace n4
