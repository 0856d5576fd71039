#include "core/grid/PrintfText.h"

#include <cstdarg>
#include <cstdio>

#include "core/os/System.h"

namespace n4 {

std::string printfText(const char* format, ...) {
    const os::CNumbers numbers; // 1.009, not 1,009, in any locale
    char shortText[64];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(shortText, sizeof shortText, format, args);
    va_end(args);
    std::string out;
    if (length >= 0 && length < static_cast<int>(sizeof shortText)) {
        out.assign(shortText, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        out.assign(static_cast<std::size_t>(length), '\0');
        std::vsnprintf(out.data(), out.size() + 1, format, again);
    } // else a format the C library cannot write: ""
    va_end(again);
    return out;
}

} // namespace n4
