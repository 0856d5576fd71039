#pragma once
// The ledger's table 購入記録 in the draw database, beside the draw table,
// which it never touches. Every change is one transaction.
#include <vector>

#include "core/store/DrawStore.h"
#include "core/tickets/Ticket.h"

namespace n4 {

// Every ticket in the order entered. A file of an earlier version opened
// read-only, without the table, has none.
StoreResult readTickets(const DrawStore& store, std::vector<Ticket>& out);

// Puts the tickets (replacing by id; one without an id gets the next free one,
// written back into it) and removes the ids, all in one transaction. A ticket
// that is not valid refuses the whole change.
StoreResult changeTickets(DrawStore& store, std::vector<Ticket>& put,
                          const std::vector<long long>& removed = {});

} // namespace n4
