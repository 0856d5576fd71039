#include "core/store/VectorState.h"

namespace n4 {

void clearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx) asm volatile("vzeroupper" ::: "memory");
#endif
}

} // namespace n4
