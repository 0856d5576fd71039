#include "core/update/ApiVersion.h"

#include <optional>

#include "core/import/HistoryValues.h"

namespace n4 {

namespace {

constexpr int kMaxDepth = 32;

// Walks one JSON object's members; the values are only stepped over, except
// the one asked for, which must be a number or a string.
class ObjectScan {
  public:
    explicit ObjectScan(std::string_view text) : s_(text) {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") s_.remove_prefix(3);
    }

    // The text of key's scalar value; nothing when the key is absent.
    // false when the text is no JSON object.
    bool find(std::string_view key, std::optional<std::string>& value) {
        if (!eat('{')) return false;
        if (eat('}')) return atEnd();
        do {
            std::string name;
            if (!string(name) || !eat(':')) return false;
            space();
            if (name != key) {
                if (!skip(0)) return false;
            } else if (!scalar(value)) {
                return false;
            }
        } while (eat(','));
        return eat('}') && atEnd();
    }

  private:
    void space() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
            ++i_;
    }
    bool eat(char c) {
        space();
        if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
        return false;
    }
    bool atEnd() {
        space();
        return i_ == s_.size();
    }
    // A string's text; escapes are kept as written (no key needs one).
    bool string(std::string& out) {
        if (!eat('"')) return false;
        out.clear();
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (c == '"') return true;
            out += c;
            if (c == '\\' && i_ < s_.size()) out += s_[i_++];
        }
        return false;
    }
    bool scalar(std::optional<std::string>& value) {
        std::string text;
        if (i_ < s_.size() && s_[i_] == '"') {
            if (!string(text)) return false;
        } else {
            while (i_ < s_.size() &&
                   (std::string_view("0123456789+-.eE").find(s_[i_]) != std::string_view::npos))
                text += s_[i_++];
            if (text.empty()) return skip(0); // null, an array ...: no usable value
        }
        value = text;
        return true;
    }
    bool skip(int depth) {
        space();
        if (i_ >= s_.size() || depth > kMaxDepth) return false;
        const char open = s_[i_];
        if (open == '"') {
            std::string ignored;
            return string(ignored);
        }
        if (open != '{' && open != '[') {
            const size_t start = i_;
            while (i_ < s_.size() &&
                   std::string_view(",}] \t\r\n").find(s_[i_]) == std::string_view::npos)
                ++i_;
            return i_ > start;
        }
        ++i_;
        const char close = open == '{' ? '}' : ']';
        if (eat(close)) return true;
        do {
            std::string name;
            if (open == '{' && (!string(name) || !eat(':'))) return false;
            if (!skip(depth + 1)) return false;
        } while (eat(','));
        return eat(close);
    }

    std::string_view s_;
    size_t i_ = 0;
};

} // namespace

bool readLatestDrawNo(std::string_view json, int& latest, std::string& message) {
    std::optional<std::string> value;
    if (!ObjectScan(json).find("latest_draw_no", value)) {
        message = "版の情報（version.json）が JSON のオブジェクトではありません。";
        return false;
    }
    if (!value) {
        message = "版の情報（version.json）に最新の回（latest_draw_no）がありません。";
        return false;
    }
    if (readDrawNo(*value, latest) != CellRead::Ok) {
        message = "版の情報（version.json）の最新の回" + n4::quoted(*value) +
                  "が 1～99999 の数ではありません。";
        return false;
    }
    return true;
}

} // namespace n4
