#include "core/cli/ExportNames.h"

#include <algorithm>
#include <cctype>

#include "core/analysis/AnalysisCatalog.h"
#include "core/prediction/PredictionExport.h"

namespace n4 {

namespace {

void addOther(ExportName& row, const std::string& name) {
    if (name != row.name && name != row.caption &&
        std::find(row.others.begin(), row.others.end(), name) == row.others.end())
        row.others.push_back(name);
}

// "一発マーヴォ予想(&D)" and "一発マーヴォ予想(D)" as the menu shows them.
std::string withoutMenuKey(const std::string& text) {
    const size_t n = text.size();
    for (size_t len : {4u, 3u}) {
        if (n <= len || text[n - 1] != ')' ||
            !std::isalnum(static_cast<unsigned char>(text[n - 2])))
            continue;
        const std::string open = len == 4 ? "(&" : "(";
        if (text.compare(n - len, open.size(), open) == 0) return text.substr(0, n - len);
    }
    return text;
}

} // namespace

const std::vector<ExportName>& exportNames() {
    static const std::vector<ExportName> names = [] {
        std::vector<ExportName> rows;
        for (const AnalysisEntry& e : analysisCatalog()) {
            ExportName row{e.cliName, e.caption, {}};
            addOther(row, e.menuText);
            addOther(row, e.windowName);
            rows.push_back(row);
        }
        const std::vector<std::string>& prediction = predictionNames();
        ExportName row{prediction.front(), prediction.at(1), {}};
        for (const std::string& name : prediction)
            addOther(row, name);
        rows.push_back(row);
        return rows;
    }();
    return names;
}

std::string exportNameFor(const std::string& given) {
    const std::string name = withoutMenuKey(given);
    for (const ExportName& row : exportNames())
        if (name == row.name || name == row.caption ||
            std::find(row.others.begin(), row.others.end(), name) != row.others.end())
            return row.name;
    return {};
}

} // namespace n4
