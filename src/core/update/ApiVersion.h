#pragma once
// The results API's version.json: a small JSON object whose latest_draw_no
// says the newest draw the API holds, so that a client asks for draws only
// when there is something new.
#include <string>
#include <string_view>

namespace n4 {

// The latest_draw_no of a version.json, 1..99999; false with a Japanese
// message when the text is not such an object.
bool readLatestDrawNo(std::string_view json, int& latest, std::string& message);

} // namespace n4
