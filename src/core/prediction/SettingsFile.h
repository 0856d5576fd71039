#pragma once
// The settings file "ナンバーズ4マーヴォ.ini": ten lines key=True/False in
// Shift-JIS with CR LF, as older copies of the program wrote it.
#include <string>

#include "core/prediction/AnalysisOptions.h"
#include "core/store/DataLocation.h" // kSettingsFileName

namespace n4 {

// Reads what it can: a missing or unreadable file, a folder, a device or a pipe
// (never waited on), blank lines, lines without "=" and values other than
// True/False leave the flags as they are.
void readInitFile(const std::string& path, AnalysisOptions& options);

struct WriteResult {
    bool ok = true;
    std::string message; // Japanese, when !ok
};
// Replaces the file atomically: a temporary file beside it, made exclusively
// (a link planted there is never followed), then a rename.
WriteResult writeInitFile(const std::string& path, const AnalysisOptions& options);

} // namespace n4
