#include "analysis/AnalysisCatalog.h"

namespace n4 {

const std::vector<AnalysisEntry>& analysisCatalog() {
    static const std::vector<AnalysisEntry> entries = {
    };
    return entries;
}

const AnalysisEntry* findAnalysis(const std::string& name) {
    for (const AnalysisEntry& e : analysisCatalog())
        if (name == e.cliName || name == e.windowName) return &e;
    return nullptr;
}

} // namespace n4
