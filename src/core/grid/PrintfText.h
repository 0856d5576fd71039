#pragma once
// printf-style formatting into a string of exactly the length it needs, for
// the numbers of exports, pictures and messages, with a full stop as the
// decimal point whatever the process's locale. Short texts (colours in every
// cell of a page, chart points) are formatted once, on the stack. The compiler
// checks every call's arguments against its format.
#include <string>

namespace n4 {

std::string printfText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace n4
