#pragma once
// What the program reads from disk before its windows can show anything: the
// settings file, an older Jet file taken over, and every draw of the draw
// database with the start-up figures. Opening the database derives the key
// (tens of milliseconds of hashing) and reads every row; the early load does
// that on a thread of its own from the first line of main(), while the toolkit
// starts on the main thread, so that the two overlap.
#include <memory>
#include <string>

#include "core/import/JetConversion.h"
#include "core/prediction/AnalysisOptions.h"
#include "core/store/DrawStore.h"
#include "core/store/DrawTable.h"
#include "core/store/StartupFigures.h"

namespace n4 {

struct StartupLoad {
    AnalysisOptions options;
    JetConversion jet; // the database file is read only when jet.ok
    bool created = false;
    std::string notice; // a half-made database completed: the user is told first
    StoreResult result; // opening and reading; a failure carries the message
    DrawTable table;
    StartupFigures figures;
};

// Every step in order on the calling thread: the settings file before the
// database, as always.
StartupLoad loadAtStartup(const std::string& settingsPath, const DbConnectionString& conn);

// The same steps started before the toolkit: the settings file and the Jet
// take-over at once (the take-over runs a child process, which a process
// must start while it has a single thread), the database on a thread.
class EarlyStartupLoad {
  public:
    EarlyStartupLoad(const std::string& settingsPath, const DbConnectionString& conn);
    ~EarlyStartupLoad(); // waits for the thread
    EarlyStartupLoad(const EarlyStartupLoad&) = delete;
    EarlyStartupLoad& operator=(const EarlyStartupLoad&) = delete;

    // Waits for the thread and hands the load over; call once.
    StartupLoad take();

  private:
    struct Running;
    std::unique_ptr<Running> running_;
};

} // namespace n4
