#pragma once
// printf-style formatting into a string of exactly the length it needs, for
// the numbers of exports, pictures and messages.
#include <cstdio>
#include <string>

namespace n4 {

template <class... Args> std::string printfText(const char* format, Args... args) {
    std::string out(static_cast<std::size_t>(std::snprintf(nullptr, 0, format, args...)), '\0');
    std::snprintf(out.data(), out.size() + 1, format, args...);
    return out;
}

} // namespace n4
