#pragma once
// The checked ledger as the command line prints it: TSV (one line per ticket
// and draw, then the totals) or JSON.
#include <string>
#include <vector>

#include "core/tickets/TicketCheck.h"

namespace n4 {

std::string ticketsTsv(const std::vector<CheckedTicket>& checked, const TicketTotals& totals);
// {"tickets":[{"draw","last_draw","number","type","units","results":[{"draw","result","prize"}]}],
//  "totals":{"spent","won","balance","return", ...}}
std::string ticketsJson(const std::vector<CheckedTicket>& checked, const TicketTotals& totals);

} // namespace n4
