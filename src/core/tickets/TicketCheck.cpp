#include "core/tickets/TicketCheck.h"

#include <algorithm>
#include <map>

#include "core/prediction/NextDrawDate.h"
#include "core/store/DrawDetailsText.h"

namespace n4 {

namespace {

// Dates of draws after the history's last, where it is daily and dated: so
// that a ticket bought for next week counts in this month's spending. Only a
// year ahead is told.
constexpr int kDatesAhead = 260;

const DrawRecord* findDraw(const DrawTable& table, int drawNo) {
    auto it = std::lower_bound(table.begin(), table.end(), drawNo,
                               [](const DrawRecord& r, int no) { return r.drawNo < no; });
    return it != table.end() && it->drawNo == drawNo ? &*it : nullptr;
}

int dateAhead(const DrawTable& table, int drawNo) {
    if (table.empty() || drawNo - table.back().drawNo > kDatesAhead) return kUnknown;
    int date = nextDrawDate(table);
    if (date == kUnknown) return kUnknown;
    for (int n = table.back().drawNo + 1; n < drawNo; ++n)
        date = drawDayAfter(date);
    return date;
}

TicketDrawResult resultOn(const Ticket& t, const DrawTable& table, int drawNo) {
    TicketDrawResult r;
    r.drawNo = drawNo;
    if (table.empty() || drawNo > table.back().drawNo) {
        r.outcome = TicketOutcome::Pending;
        r.date = dateAhead(table, drawNo);
        return r;
    }
    const DrawRecord* draw = findDraw(table, drawNo);
    if (draw) r.date = draw->details.date;
    if (!draw || !draw->isComplete()) {
        r.outcome = TicketOutcome::Missing;
        return r;
    }
    r.hit = hitOf(t.number, t.kind, numberOf(draw->digits));
    r.outcome = r.hit == Hit::None ? TicketOutcome::Lost : TicketOutcome::Won;
    const int prize = prizeOf(r.hit, draw->details);
    r.prize = prize == kUnknown ? kUnknown : static_cast<long long>(prize) * t.units;
    return r;
}

} // namespace

CheckedTicket checkTicket(const Ticket& ticket, const DrawTable& table) {
    CheckedTicket c{ticket, {}};
    c.results.reserve(static_cast<size_t>(std::max(0, ticket.drawCount())));
    for (int n = ticket.firstDraw; n <= ticket.lastDraw; ++n)
        c.results.push_back(resultOn(ticket, table, n));
    return c;
}

std::vector<CheckedTicket> checkTickets(const std::vector<Ticket>& tickets,
                                        const DrawTable& table) {
    std::vector<CheckedTicket> out;
    out.reserve(tickets.size());
    for (const Ticket& t : tickets)
        out.push_back(checkTicket(t, table));
    return out;
}

std::string outcomeText(const TicketDrawResult& r) {
    switch (r.outcome) {
    case TicketOutcome::Pending:
        return "抽せん前";
    case TicketOutcome::Missing:
        return "結果なし";
    case TicketOutcome::Lost:
        return "はずれ";
    case TicketOutcome::Won:
        break;
    }
    switch (r.hit) {
    case Hit::Straight:
        return "ストレート当せん";
    case Hit::Box:
        return "ボックス当せん";
    case Hit::SetStraight:
        return "セット・ストレート当せん";
    case Hit::SetBox:
        return "セット・ボックス当せん";
    case Hit::None:
        break;
    }
    return "はずれ";
}

std::string prizeText(const TicketDrawResult& r) {
    if (r.outcome == TicketOutcome::Pending || r.outcome == TicketOutcome::Missing) return {};
    if (r.prize == kUnknown) return "賞金未取得";
    return groupedDigits(r.prize) + "円";
}

std::string outcomeSummary(const CheckedTicket& checked) {
    if (checked.results.size() == 1) return outcomeText(checked.results.front());
    std::vector<std::pair<std::string, int>> counts; // in the order first met
    for (const TicketDrawResult& r : checked.results) {
        const std::string text = outcomeText(r);
        auto it = std::find_if(counts.begin(), counts.end(),
                               [&](const auto& c) { return c.first == text; });
        if (it == counts.end())
            counts.emplace_back(text, 1);
        else
            ++it->second;
    }
    std::string line;
    for (const auto& [text, count] : counts)
        line += (line.empty() ? "" : "、") + text + " " + std::to_string(count);
    return line;
}

bool TicketPeriod::contains(const TicketDrawResult& r) const {
    switch (kind) {
    case All:
        return true;
    case Year:
        return r.date != kUnknown && r.date / 10000 == year;
    case Month:
        return r.date != kUnknown && r.date / 100 == year * 100 + month;
    case Draws:
        return (from <= 0 || r.drawNo >= from) && (to <= 0 || r.drawNo <= to);
    }
    return false;
}

TicketTotals totalTickets(const std::vector<CheckedTicket>& checked, const TicketPeriod& period) {
    TicketTotals t;
    std::map<int, long long> change; // draw -> won minus spent on it
    for (const CheckedTicket& c : checked) {
        for (const TicketDrawResult& r : c.results) {
            if (!period.contains(r)) continue;
            const long long cost = static_cast<long long>(kTicketPrice) * c.ticket.units;
            const long long won = r.prize == kUnknown ? 0 : r.prize;
            ++t.ticketDraws;
            t.spent += cost;
            t.won += won;
            change[r.drawNo] += won - cost;
            t.pending += r.outcome == TicketOutcome::Pending;
            t.missing += r.outcome == TicketOutcome::Missing;
            if (r.outcome != TicketOutcome::Won) continue;
            ++t.wonByHit[static_cast<size_t>(r.hit)];
            t.unknownPrizes += r.prize == kUnknown;
        }
    }
    long long balance = 0;
    for (const auto& [drawNo, delta] : change) {
        balance += delta;
        t.drawNos.push_back(drawNo);
        t.balances.push_back(balance);
    }
    return t;
}

std::string drawTicketsSummary(const std::vector<CheckedTicket>& checked, int drawNo) {
    int tickets = 0, won = 0, unknown = 0;
    long long prizes = 0;
    for (const CheckedTicket& c : checked) {
        // By its number: the results may be a part of the ticket's draws.
        auto found = std::find_if(c.results.begin(), c.results.end(),
                                  [&](const TicketDrawResult& d) { return d.drawNo == drawNo; });
        if (found == c.results.end()) continue;
        const TicketDrawResult& r = *found;
        ++tickets;
        if (r.outcome != TicketOutcome::Won) continue;
        ++won;
        if (r.prize == kUnknown)
            ++unknown;
        else
            prizes += r.prize;
    }
    if (tickets == 0) return {};
    std::string line = "第" + std::to_string(drawNo) + "回: " + std::to_string(tickets) + " 枚中 " +
                       std::to_string(won) + " 枚当せん ¥" + groupedDigits(prizes);
    if (unknown > 0) line += "（賞金未取得 " + std::to_string(unknown) + " 枚）";
    return line;
}

std::vector<int> drawsBroughtIn(const DrawTable& before, const DrawTable& after) {
    std::vector<int> brought;
    for (const DrawRecord& r : after) {
        if (!r.isComplete()) continue;
        const DrawRecord* was = findDraw(before, r.drawNo);
        if (!was || was->digits != r.digits) brought.push_back(r.drawNo);
    }
    return brought;
}

std::string ticketNews(const std::vector<CheckedTicket>& checked, const std::vector<int>& drawNos) {
    constexpr size_t kTold = 3;
    std::vector<std::string> lines;
    for (int drawNo : drawNos)
        if (std::string line = drawTicketsSummary(checked, drawNo); !line.empty())
            lines.push_back(line);
    std::string news;
    const size_t first = lines.size() > kTold ? lines.size() - kTold : 0;
    for (size_t i = first; i < lines.size(); ++i)
        news += (news.empty() ? "" : "　") + lines[i];
    if (first > 0) news += "（ほか " + std::to_string(first) + " 回）";
    return news;
}

} // namespace n4
