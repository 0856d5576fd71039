#pragma once
// Carrying an older Jet 4.0 draw database over to the encrypted store at
// start-up, without risk to the user's file.
#include <string>

#include "core/import/HistoryImport.h"
#include "core/store/DrawStore.h"

namespace n4 {

inline constexpr const char* kJetBackupSuffix = ".jet4";

struct JetConversion {
    bool needed = false; // the database file was a Jet file
    bool ok = true;
    int draws = 0;
    int unreadableDigits = 0;
    std::string backupPath; // where the old file now is
    std::string message;    // Japanese: what happened, for the user
};

// How the new store takes the database name: by swapping the two names in
// one step where the file system can, or as on one that cannot (FAT and
// exFAT memory sticks, where a portable copy may live).
enum class NameSwap { WhereSupported, Never };

// When the database file is a Jet file (by its header), writes a new store
// beside it under a temporary name, keeps the old file as NAME.jet4 and moves
// the new store into place. On any failure the old file stays as it was and
// nothing half-made is left behind.
JetConversion convertJetDatabaseIfNeeded(const DbConnectionString& conn,
                                         NameSwap swap = NameSwap::WhereSupported);

// The part of it that finishes a take-over an earlier run left half-done (a
// kill between its steps): the new store is put under the database's name
// and the old file moved aside, as the take-over would have. Nothing when
// there is no leftover. The program's start-up and the command-line tool run
// it before anything else, so that neither starts on a database of its own
// while the converted draws wait under the temporary name.
JetConversion resumeInterruptedTakeOver(const DbConnectionString& conn);

// What the user is told once the old file's draws are in the new store: how
// many moved, the digits that could not be read and where the old file now is.
std::string jetTakeOverMessage(const ImportResult& data, const std::string& backupPath);

} // namespace n4
