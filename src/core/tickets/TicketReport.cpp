#include "core/tickets/TicketReport.h"

namespace n4 {

namespace {

const Hit kHits[] = {Hit::Straight, Hit::Box, Hit::SetStraight, Hit::SetBox};

std::string hitText(Hit hit) {
    TicketDrawResult r;
    r.outcome = TicketOutcome::Won;
    r.hit = hit;
    return outcomeText(r);
}

// won / spent with four decimals and a point whatever the locale: "0.4780".
std::string returnText(const TicketTotals& t) {
    if (t.spent <= 0) return {};
    const long long tenThousandths = (t.won * 10000 + t.spent / 2) / t.spent;
    std::string fraction = std::to_string(tenThousandths % 10000);
    return std::to_string(tenThousandths / 10000) + "." + std::string(4 - fraction.size(), '0') +
           fraction;
}

std::string prizeValue(const TicketDrawResult& r, const char* unknown) {
    if (r.outcome == TicketOutcome::Pending || r.outcome == TicketOutcome::Missing) return unknown;
    return r.prize == kUnknown ? unknown : std::to_string(r.prize);
}

} // namespace

std::string ticketsTsv(const std::vector<CheckedTicket>& checked, const TicketTotals& t) {
    std::string out = "回\t最終回\t番号\t種類\t口数\t抽せん回\t結果\t賞金\n";
    for (const CheckedTicket& c : checked) {
        const Ticket& k = c.ticket;
        const std::string ticket = std::to_string(k.firstDraw) + '\t' +
                                   (k.lastDraw != k.firstDraw ? std::to_string(k.lastDraw) : "") +
                                   '\t' + fourDigits(k.number) + '\t' + buyKindName(k.kind) + '\t' +
                                   std::to_string(k.units) + '\t';
        for (const TicketDrawResult& r : c.results) {
            const bool unknownWin = r.outcome == TicketOutcome::Won && r.prize == kUnknown;
            out += ticket + std::to_string(r.drawNo) + '\t' + outcomeText(r) + '\t' +
                   (unknownWin ? "賞金未取得" : prizeValue(r, "")) + '\n';
        }
    }
    out += "\n購入額\t" + std::to_string(t.spent) + "\n当せん金\t" + std::to_string(t.won) +
           "\n収支\t" + std::to_string(t.balance()) + "\n回収率\t" + returnText(t) + '\n';
    for (Hit hit : kHits)
        out += hitText(hit) + '\t' + std::to_string(t.wonByHit[static_cast<size_t>(hit)]) + '\n';
    out += "賞金未取得\t" + std::to_string(t.unknownPrizes) + "\n抽せん前\t" +
           std::to_string(t.pending) + "\n結果なし\t" + std::to_string(t.missing) + '\n';
    return out;
}

std::string ticketsJson(const std::vector<CheckedTicket>& checked, const TicketTotals& t) {
    std::string out = "{\"tickets\":[";
    for (size_t i = 0; i < checked.size(); ++i) {
        const Ticket& k = checked[i].ticket;
        out +=
            std::string(i ? "," : "") + "\n{\"draw\":" + std::to_string(k.firstDraw) +
            ",\"last_draw\":" + (k.lastDraw != k.firstDraw ? std::to_string(k.lastDraw) : "null") +
            ",\"number\":\"" + fourDigits(k.number) + "\",\"type\":\"" + buyKindName(k.kind) +
            "\",\"units\":" + std::to_string(k.units) + ",\"results\":[";
        const auto& results = checked[i].results;
        for (size_t j = 0; j < results.size(); ++j)
            out += std::string(j ? "," : "") + "{\"draw\":" + std::to_string(results[j].drawNo) +
                   ",\"result\":\"" + outcomeText(results[j]) +
                   "\",\"prize\":" + prizeValue(results[j], "null") + "}";
        out += "]}";
    }
    const std::string rate = returnText(t);
    out += "\n],\"totals\":{\"spent\":" + std::to_string(t.spent) +
           ",\"won\":" + std::to_string(t.won) + ",\"balance\":" + std::to_string(t.balance()) +
           ",\"return\":" + (rate.empty() ? "null" : rate) + ",\"won_by_kind\":{";
    for (Hit hit : kHits)
        out += std::string(hit == Hit::Straight ? "" : ",") + "\"" + hitText(hit) +
               "\":" + std::to_string(t.wonByHit[static_cast<size_t>(hit)]);
    out += "},\"unknown_prizes\":" + std::to_string(t.unknownPrizes) +
           ",\"pending\":" + std::to_string(t.pending) +
           ",\"missing\":" + std::to_string(t.missing) + "}}\n";
    return out;
}

} // namespace n4
