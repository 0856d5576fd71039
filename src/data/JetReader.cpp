#include "data/JetReader.h"

namespace n4 {

ImportResult readJetHistory(const std::string&) {
    ImportResult r;
    r.message = "Jet 形式のデータベースはまだ読み込めません。";
    return r;
}

} // namespace n4
