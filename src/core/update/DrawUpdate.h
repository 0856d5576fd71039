#pragma once
// Bringing the draw database up to date from results sources on the network.
// The sources are tried in order until one answers. A results API is asked
// first whether it holds anything newer than the database (version.json);
// only then are the draws fetched: latest.json when one draw is missing,
// the whole history otherwise. Every body is read by the history import's
// own reader, and the draws are written as an import writes them: planned
// and written under the write lock, in one transaction. A draw the source
// gives other digits than the database holds is never overwritten: the
// whole update is refused, naming the draws.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/import/ImportPlan.h"
#include "core/net/UrlFetch.h"
#include "core/store/DrawStore.h"

namespace n4 {

struct UpdateRequest {
    DbConnectionString database;
    std::vector<std::string> sources; // see UpdateSources.h
    FetchOptions fetch;
    // Told one line a step, in Japanese: the source, the address asked, the
    // bytes received.
    std::function<void(const std::string&)> log;
    // Called once before the database is opened for writing (to make its
    // folder, say); false with a message stops the update.
    std::function<bool(std::string& message)> beforeWriting;
    // The draws are handed back (UpdateResult::rows, status Fetched) instead
    // of written: the program asks the user first, as for a file.
    bool fetchOnly = false;
};

enum class UpdateStatus { Stored, NothingNew, Failed, Fetched };

struct UpdateResult {
    UpdateStatus status = UpdateStatus::Failed;
    std::string source;   // the source the draws came from
    std::string format;   // what they were read as
    ImportPlan plan;      // what was written
    int storedLatest = 0; // the newest draw in the database before, 0 for none
    // (stored, incoming): draws the source gives other digits than the
    // database holds; the update was refused for them.
    std::vector<std::pair<DrawRecord, DrawRecord>> conflicts;
    std::string message; // Japanese, when Failed: every source's failure, or why it was refused
    std::vector<DrawRecord> rows; // what the source gave, when fetchOnly
};

UpdateResult updateDraws(const UpdateRequest& request);

// The changed draws of a plan that overwrite a stored digit; a stored empty
// digit that the incoming draw fills in is no conflict.
std::vector<std::pair<DrawRecord, DrawRecord>> conflictingDraws(const ImportPlan& plan);

} // namespace n4
