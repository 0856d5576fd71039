#include "BenchSupport.h"

namespace n4bench {

n4::DrawTable syntheticHistory(int count) {
    n4::DrawTable t;
    t.reserve(count);
    unsigned x = 12345;
    for (int no = 1; no <= count; ++no) {
        n4::DrawRecord r{no, {}};
        for (int& d : r.digits) {
            x = x * 1103515245u + 12345u;
            d = static_cast<int>((x >> 16) % 10);
        }
        t.push_back(r);
    }
    return t;
}

} // namespace n4bench
