#pragma once
// The ledger as a CSV file (UTF-8 with BOM, CR LF, a Japanese header) and back:
//   回,最終回,番号,種類,口数
// 最終回 empty for a ticket of one draw. Reading takes what the history
// import takes in encodings (UTF-8 with or without BOM, UTF-16 with BOM,
// Shift-JIS) and commas, tabs or semicolons; a line that is not a ticket is
// refused with its number, and then no ticket is taken.
#include <string>
#include <vector>

#include "core/tickets/Ticket.h"

namespace n4 {

std::string ticketsCsv(const std::vector<Ticket>& tickets);

struct TicketCsvResult {
    bool ok = false;
    std::string message; // Japanese, with the line number of the first bad line
    std::vector<Ticket> tickets;
};

// A header line (one naming 回 or 番号) is skipped; empty lines are ignored;
// a text without a single ticket is refused.
// Shorter rows are taken too, as pasted from elsewhere: four fields are
// 回, 番号, 種類, 口数; three 回, 番号, 種類; two 回, 番号 (one unit,
// ストレート). A number may have lost its leading zeros in a spreadsheet.
TicketCsvResult readTicketsCsv(const std::string& bytes);

} // namespace n4
