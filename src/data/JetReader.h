#pragma once
// Reading the draws of an older Jet 4.0 (Access 2000) draw database.
#include <string>

#include "data/HistoryImport.h"

namespace n4 {

ImportResult readJetHistory(const std::string& path);

} // namespace n4
