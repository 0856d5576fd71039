#pragma once
// printf-style formatting into a string of exactly the length it needs, for
// the numbers of exports, pictures and messages. Short texts (colours in every
// cell of a page, chart points) are formatted once, on the stack.
#include <cstdio>
#include <string>

namespace n4 {

template <class... Args> std::string printfText(const char* format, Args... args) {
    char shortText[64];
    const int length = std::snprintf(shortText, sizeof shortText, format, args...);
    if (length < 0) return {}; // a format the C library cannot write
    if (length < static_cast<int>(sizeof shortText)) return std::string(shortText, length);
    std::string out(static_cast<std::size_t>(length), '\0');
    std::snprintf(out.data(), out.size() + 1, format, args...);
    return out;
}

} // namespace n4
