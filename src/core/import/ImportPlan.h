#pragma once
// What an import will do to the stored draws, worked out before anything is
// written: the draws that are new, the draws whose digits change and the
// draws that are already identical. The same plan gives the question asked
// before writing, the change that is written (and can be undone) and the
// report afterwards.
#include <string>
#include <utility>
#include <vector>

#include "core/store/DrawChangeLog.h"

namespace n4 {

struct ImportPlan {
    std::vector<DrawRecord> added;
    std::vector<std::pair<DrawRecord, DrawRecord>> changed; // (stored, incoming)
    int unchanged = 0;

    bool nothingToDo() const { return added.empty() && changed.empty(); }
    // The draws to write: the new and the changed ones, nothing else.
    DrawChange change(const std::string& label) const;
};

// current: the stored draws in ascending order; incoming: in ascending order.
ImportPlan planImport(const DrawTable& current, const std::vector<DrawRecord>& incoming);

// The question before writing: where the draws come from, then the numbers.
std::string describeImport(const ImportPlan& plan, const std::string& source,
                           const std::string& format);
// What was stored, for the command line and the status line.
std::string reportImport(const ImportPlan& plan);

} // namespace n4
