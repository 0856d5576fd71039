// The history import of every text shape (CSV/TSV/semicolon, JSON; UTF-8,
// Shift-JIS, UTF-16), from the bytes of a file. Besides crashes and undefined
// behaviour, a run fails when an accepted result breaks what the store and the
// windows rely on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzInput.h"
#include "core/import/HistoryImport.h"

using n4fuzz::broken;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    n4::ImportResult r =
        n4::readHistoryBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (!r.ok) {
        if (r.message.empty()) broken("refused without a message");
        if (!r.rows.empty()) broken("refused but rows handed out");
        return 0;
    }
    int previous = 0;
    for (const n4::DrawRecord& row : r.rows) {
        if (row.drawNo <= previous) broken("draw numbers not strictly ascending");
        if (row.drawNo > n4::kMaxDrawNo) broken("draw number above the limit");
        for (int d : row.digits)
            if (d != n4::kAbsentDigit && (d < 0 || d > 9)) broken("a digit outside 0..9");
        previous = row.drawNo;
    }
    return 0;
}
