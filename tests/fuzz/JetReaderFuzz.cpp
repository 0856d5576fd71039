// The Jet 4.0 reader. The program reads a Jet file in a child process
// (readJetHistory) and the parent parses what the child says; here the child's
// work runs in this process, so the fuzzer sees its coverage and any crash in
// it, and its answer goes through the parent's parsing.
// With N4_FUZZ_THROUGH_CHILD=1 every input takes the program's own path, child
// process included: slower and blind to the child's coverage, but it checks
// that whatever the child does, the parent comes back with a result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "core/import/JetReader.h"

using n4fuzz::broken;

namespace {

bool throughChild() {
    static const bool yes = [] {
        const char* v = std::getenv("N4_FUZZ_THROUGH_CHILD");
        return v && std::strcmp(v, "1") == 0;
    }();
    return yes;
}

void check(const n4::ImportResult& r) {
    if (!r.ok) {
        if (r.message.empty()) broken("refused without a message");
        return;
    }
    int previous = 0;
    for (const n4::DrawRecord& row : r.rows) {
        if (row.drawNo < 1 || row.drawNo > n4::kMaxDrawNo) broken("draw number out of range");
        if (row.drawNo <= previous) broken("draws not in ascending order or given twice");
        for (int d : row.digits)
            if (d != n4::kAbsentDigit && (d < 0 || d > 9)) broken("a digit outside 0..9");
        previous = row.drawNo;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static n4fuzz::MemoryFile file;
    const std::string& path = file.hold(data, size);
    if (throughChild())
        check(n4::readJetHistory(path));
    else
        check(n4::parseJetSerialized(n4::readJetSerialized(path)));
    return 0;
}
