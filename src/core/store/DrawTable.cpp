#include "core/store/DrawTable.h"

namespace n4 {

DrawTable draws(std::initializer_list<std::array<int, 4>> rows) {
    DrawTable table;
    int no = 1;
    for (const auto& digits : rows)
        table.push_back(DrawRecord{no++, digits});
    return table;
}

} // namespace n4
