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
    // (stored, incoming): draws the file gives otherwise than the database
    // holds them, left as they are (see keepStoredValues); never written.
    std::vector<std::pair<DrawRecord, DrawRecord>> kept;
    int unchanged = 0;

    bool nothingToDo() const { return added.empty() && changed.empty(); }
    // The draws to write: the new and the changed ones, nothing else.
    DrawChange change(const std::string& label) const;
    // Leaves what the database holds as it is: a changed draw that would
    // overwrite a stored digit, date or prize moves to kept, whole. One that
    // only fills in what was empty is still written.
    void keepStoredValues();
};

// current: the stored draws in ascending order; incoming: in ascending order.
ImportPlan planImport(const DrawTable& current, const std::vector<DrawRecord>& incoming);

// The question before writing: where the draws come from, then the numbers.
std::string describeImport(const ImportPlan& plan, const std::string& source,
                           const std::string& format);
// What was stored, for the command line and the status line.
std::string reportImport(const ImportPlan& plan);
// Every kept draw, one line each after a line break, as the database and the
// file give it: 第1225回: 保存済み 1234、ファイル 1243.
std::string keptList(const ImportPlan& plan);

} // namespace n4
