#pragma once
// Each ticket checked against its draws: what it won on each, by the win
// rules and the prizes the database holds, and the totals over a period with
// the balance draw by draw.
#include <array>
#include <string>
#include <vector>

#include "core/tickets/Ticket.h"

namespace n4 {

enum class TicketOutcome {
    Won,     // see hit
    Lost,    // はずれ
    Pending, // 抽せん前: after the history's last draw
    Missing, // the history lacks that draw (or has it without all four digits)
};

struct TicketDrawResult {
    int drawNo = 0;
    TicketOutcome outcome = TicketOutcome::Pending;
    Hit hit = Hit::None;
    long long prize = 0; // for all the ticket's units; kUnknown when not known
    int date = kUnknown; // yyyymmdd where the history gives it
};

struct CheckedTicket {
    Ticket ticket;
    std::vector<TicketDrawResult> results; // one per draw, in order
};

// The draws must be in ascending draw number (as the store reads them).
CheckedTicket checkTicket(const Ticket& ticket, const DrawTable& table);
std::vector<CheckedTicket> checkTickets(const std::vector<Ticket>& tickets, const DrawTable& table);

// ストレート当せん / ボックス当せん / セット・ストレート当せん /
// セット・ボックス当せん / はずれ / 抽せん前 / 結果なし
std::string outcomeText(const TicketDrawResult& result);
// "12,300" yen, "賞金未取得" when a win's prize is not known, "" before the draw
// or without a result, "0" for a loss.
std::string prizeText(const TicketDrawResult& result);
// One line for a ticket's draws: the one result, or counts of each
// ("ボックス当せん 1、はずれ 4、抽せん前 2"); and the prizes summed.
std::string outcomeSummary(const CheckedTicket& checked);

// Which draws count: all, one year or one month (by the draw's date), or a
// range of draw numbers (0: open end).
struct TicketPeriod {
    enum Kind { All, Year, Month, Draws } kind = All;
    int year = 0, month = 0;
    int from = 0, to = 0;
    bool contains(const TicketDrawResult& r) const;
};

struct TicketTotals {
    long long spent = 0; // ¥200 × units for every draw in the period, drawn or not
    long long won = 0;   // the prizes known
    long long balance() const { return won - spent; }
    // won / spent, or a negative value when nothing was spent
    double returnRate() const { return spent > 0 ? double(won) / double(spent) : -1; }
    int ticketDraws = 0;           // a ticket on a draw counts once
    int pending = 0;               // of them before their draw
    int missing = 0;               // of them on a draw the history lacks
    int unknownPrizes = 0;         // wins whose prize is not known
    std::array<int, 5> wonByHit{}; // indexed by Hit (None unused)
    // The draws with tickets in the period, in order, and the cumulative
    // balance after each.
    std::vector<int> drawNos;
    std::vector<long long> balances;
};

TicketTotals totalTickets(const std::vector<CheckedTicket>& checked, const TicketPeriod& period);

// "第N回: M 枚中 K 枚当せん ¥合計" for a draw with tickets, or "" when none covers it.
std::string drawTicketsSummary(const std::vector<CheckedTicket>& checked, int drawNo);

// The draws whole in after whose digits before did not have (new, changed or
// completed), ascending.
std::vector<int> drawsBroughtIn(const DrawTable& before, const DrawTable& after);
// The summaries of those of the draws that have tickets, the last three
// joined and the rest counted; "" when none has.
std::string ticketNews(const std::vector<CheckedTicket>& checked, const std::vector<int>& drawNos);

} // namespace n4
