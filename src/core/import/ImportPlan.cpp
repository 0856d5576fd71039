#include "core/import/ImportPlan.h"

#include <algorithm>

#include "core/import/HistoryValues.h"

namespace n4 {

namespace {

constexpr size_t kChangesListed = 5;

std::string draw(int no) {
    return "第" + std::to_string(no) + "回";
}

std::string addedRange(const std::vector<DrawRecord>& added) {
    if (added.empty()) return {};
    if (added.size() == 1) return "（" + draw(added.front().drawNo) + "）";
    return "（" + draw(added.front().drawNo) + "～" + draw(added.back().drawNo) + "）";
}

std::string changeList(const ImportPlan& plan) {
    std::string s;
    const size_t shown = std::min(plan.changed.size(), kChangesListed);
    for (size_t i = 0; i < shown; ++i) {
        const auto& [stored, incoming] = plan.changed[i];
        s += "\n　" + draw(stored.drawNo) + ": " + digitsText(stored.digits) + " → " +
             digitsText(incoming.digits);
    }
    if (plan.changed.size() > shown)
        s += "\n　ほか " + std::to_string(plan.changed.size() - shown) + " 件";
    return s;
}

} // namespace

DrawChange ImportPlan::change(const std::string& label) const {
    DrawChange c;
    c.label = label;
    for (const DrawRecord& r : added)
        c.edits.push_back({r.drawNo, std::nullopt, r});
    for (const auto& [stored, incoming] : changed)
        c.edits.push_back({stored.drawNo, stored, incoming});
    return c;
}

ImportPlan planImport(const DrawTable& current, const std::vector<DrawRecord>& incoming) {
    ImportPlan plan;
    auto it = current.begin();
    for (const DrawRecord& r : incoming) {
        it = std::lower_bound(it, current.end(), r.drawNo,
                              [](const DrawRecord& x, int no) { return x.drawNo < no; });
        if (it == current.end() || it->drawNo != r.drawNo)
            plan.added.push_back(r);
        else if (it->digits != r.digits)
            plan.changed.emplace_back(*it, r);
        else
            ++plan.unchanged;
    }
    return plan;
}

std::string describeImport(const ImportPlan& plan, const std::string& source,
                           const std::string& format) {
    std::string s;
    if (!source.empty())
        s = "「" + source + "」を" + (format.empty() ? "" : " " + format + "として") +
            "読みました。\n";
    s += "新しい回: " + std::to_string(plan.added.size()) + " 件" + addedRange(plan.added) + "\n";
    s += "当選番号が変わる回: " + std::to_string(plan.changed.size()) + " 件" + changeList(plan) +
         "\n";
    s += "同じ内容の回: " + std::to_string(plan.unchanged) + " 件（書き換えません）";
    return s;
}

std::string reportImport(const ImportPlan& plan) {
    if (plan.nothingToDo())
        return "取り込む当選データはありませんでした（" + std::to_string(plan.unchanged) +
               " 回はすべて同じ内容です）。";
    return "取り込みました: 新しい回 " + std::to_string(plan.added.size()) + " 件" +
           addedRange(plan.added) + "、変わった回 " + std::to_string(plan.changed.size()) +
           " 件、変わらない回 " + std::to_string(plan.unchanged) + " 件。" + changeList(plan);
}

} // namespace n4
