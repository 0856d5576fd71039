// The settings file "ナンバーズ4マーヴォ.ini" as the program reads it at
// start-up, from any bytes: it may only switch flags, never crash.
#include <cstddef>
#include <cstdint>

#include "FuzzInput.h"
#include "core/prediction/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static n4fuzz::MemoryFile file;
    n4::AnalysisOptions options;
    n4::readInitFile(file.hold(data, size), options);
    if (options.reflectedCount() < 0 || options.reflectedCount() > n4::kOptionCount)
        n4fuzz::broken("reflected count out of range");
    return 0;
}
