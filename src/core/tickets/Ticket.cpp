#include "core/tickets/Ticket.h"

namespace n4 {

namespace {

bool startsWith(const std::string& text, size_t at, const char* what) {
    return text.compare(at, std::char_traits<char>::length(what), what) == 0;
}

} // namespace

std::string ticketProblem(const Ticket& t) {
    if (t.firstDraw < 1) return "回は第1回からです。";
    if (t.firstDraw > kMaxDrawNo || t.lastDraw > kMaxDrawNo) return "回は第99999回までです。";
    if (t.lastDraw < t.firstDraw) return "最終回は回より前にできません。";
    if (t.drawCount() > kMaxTicketDraws) return "継続購入は 1000 回までです。";
    if (t.number < 0 || t.number >= kNumberCount) return "番号は4けたです（0000～9999）。";
    if (!canBuy(t.number, t.kind))
        return "ゾロ目（" + fourDigits(t.number) + "）はストレートでしか買えません。";
    if (t.units < 1 || t.units > kMaxTicketUnits) return "口数は 1～9999 で入力してください。";
    return {};
}

int parseDrawNo(const std::string& text) {
    long long value = 0;
    int digits = 0;
    bool ended = false; // the digits are over: a space or 「回」 came after them
    bool kai = false;   // 「回」 seen
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        const int digit = digitAt(text, i, length);
        if (digit >= 0) {
            if (ended || ++digits > 6) return -1;
            value = value * 10 + digit;
        } else if (c == ' ' || c == '\t') {
            ended = digits > 0; // "1 2" is no number
        } else if (startsWith(text, i, "第") && digits == 0 && !ended) {
            length = 3;
        } else if (startsWith(text, i, "回") && digits > 0 && !kai) {
            ended = kai = true;
            length = 3;
        } else {
            return -1;
        }
        i += length;
    }
    return digits == 0 ? -1 : static_cast<int>(value);
}

} // namespace n4
