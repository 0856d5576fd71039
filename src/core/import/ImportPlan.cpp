#include "core/import/ImportPlan.h"

#include <algorithm>

#include "core/import/HistoryValues.h"
#include "core/store/DrawDetailsText.h"

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

// What changes of a draw's date and prizes, in words.
std::string detailsChange(const DrawDetails& before, const DrawDetails& after) {
    std::string what;
    auto add = [&what](const char* name, bool added) {
        what += (what.empty() ? "" : "、") + std::string(name) + (added ? "を追加" : "を変更");
    };
    if (before.date != after.date) add("抽せん日", before.date == kUnknown);
    if (before.prizes != after.prizes)
        add("賞金", std::all_of(before.prizes.begin(), before.prizes.end(),
                                [](int p) { return p == kUnknown; }));
    return what;
}

// The new draws with their numbers, so that a paste can be checked by eye.
std::string addedList(const std::vector<DrawRecord>& added) {
    std::string s;
    const size_t shown = std::min(added.size(), kChangesListed);
    for (size_t i = 0; i < shown; ++i)
        s += "\n　" + draw(added[i].drawNo) + ": " + digitsText(added[i].digits);
    if (added.size() > shown) s += "\n　ほか " + std::to_string(added.size() - shown) + " 件";
    return s;
}

std::string changeList(const ImportPlan& plan) {
    std::string s;
    const size_t shown = std::min(plan.changed.size(), kChangesListed);
    for (size_t i = 0; i < shown; ++i) {
        const auto& [stored, incoming] = plan.changed[i];
        s += "\n　" + draw(stored.drawNo) + ": ";
        if (stored.digits != incoming.digits)
            s += digitsText(stored.digits) + " → " + digitsText(incoming.digits);
        else
            s += digitsText(stored.digits) + "（" +
                 detailsChange(stored.details, incoming.details) + "）";
    }
    if (plan.changed.size() > shown)
        s += "\n　ほか " + std::to_string(plan.changed.size() - shown) + " 件";
    return s;
}

// Whether writing incoming would change a value stored: a digit, the date or
// a prize given otherwise. (incoming keeps the stored date and prizes the
// file does not give.)
bool overwritesStored(const DrawRecord& stored, const DrawRecord& incoming) {
    for (int p = 0; p < 4; ++p)
        if (stored.digits[p] != kAbsentDigit && stored.digits[p] != incoming.digits[p]) return true;
    const DrawDetails &before = stored.details, &after = incoming.details;
    if (before.date != kUnknown && before.date != after.date) return true;
    for (int k = 0; k < 4; ++k)
        if (before.prizes[k] != kUnknown && before.prizes[k] != after.prizes[k]) return true;
    return false;
}

std::string storedAndFile(const std::string& what, const std::string& stored,
                          const std::string& file) {
    return what + "保存済み " + (stored.empty() ? "なし" : stored) + "、ファイル " +
           (file.empty() ? "なし" : file);
}

} // namespace

void ImportPlan::keepStoredValues() {
    std::vector<std::pair<DrawRecord, DrawRecord>> written;
    for (auto& c : changed)
        (overwritesStored(c.first, c.second) ? kept : written).push_back(std::move(c));
    changed = std::move(written);
}

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
        if (it == current.end() || it->drawNo != r.drawNo) {
            plan.added.push_back(r);
            continue;
        }
        // A file that does not give a date or a prize leaves the stored one.
        const DrawRecord after(r.drawNo, r.digits, it->details.updatedBy(r.details));
        if (after.digits != it->digits || after.details != it->details)
            plan.changed.emplace_back(*it, after);
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
    s += "新しい回: " + std::to_string(plan.added.size()) + " 件" + addedRange(plan.added) +
         addedList(plan.added) + "\n";
    s += "当選番号が変わる回: " + std::to_string(plan.changed.size()) + " 件" + changeList(plan) +
         "\n";
    s += "同じ内容の回: " + std::to_string(plan.unchanged) + " 件（書き換えません）";
    if (!plan.kept.empty())
        s += "\nファイルと違う回: " + std::to_string(plan.kept.size()) +
             " 件（データベースのまま残します）";
    return s;
}

std::string reportImport(const ImportPlan& plan) {
    if (plan.nothingToDo() && plan.kept.empty())
        return "取り込む当選データはありませんでした（" + std::to_string(plan.unchanged) +
               " 回はすべて同じ内容です）。";
    const std::string kept = plan.kept.empty() ? ""
                                               : "、ファイルと違うまま残した回 " +
                                                     std::to_string(plan.kept.size()) + " 件";
    return "取り込みました: 新しい回 " + std::to_string(plan.added.size()) + " 件" +
           addedRange(plan.added) + "、変わった回 " + std::to_string(plan.changed.size()) +
           " 件、変わらない回 " + std::to_string(plan.unchanged) + " 件" + kept + "。" +
           changeList(plan);
}

std::string keptList(const ImportPlan& plan) {
    std::string s;
    for (const auto& [stored, file] : plan.kept) {
        std::string line;
        auto add = [&line](const std::string& part) { line += (line.empty() ? "" : "　") + part; };
        if (stored.digits != file.digits)
            add(storedAndFile("", digitsText(stored.digits), digitsText(file.digits)));
        if (stored.details.date != file.details.date)
            add(storedAndFile("抽せん日 ", dateText(stored.details.date),
                              dateText(file.details.date)));
        if (stored.details.prizes != file.details.prizes)
            add(storedAndFile("賞金 ", prizesText(stored.details), prizesText(file.details)));
        s += "\n　" + draw(stored.drawNo) + ": " + line;
    }
    return s;
}

} // namespace n4
