#pragma once
// A ticket as the player keeps it in the ledger (購入記録): one number bought
// one way, some units, for one draw or for several draws in a row (継続購入).
#include <string>

#include "core/numbers/NumberKind.h"

namespace n4 {

constexpr int kMaxTicketUnits = 9999;
// A ticket bought for several draws in a row covers at most this many.
constexpr int kMaxTicketDraws = 1000;

struct Ticket {
    long long id = 0; // the ledger's own key, in the order entered; 0: not stored yet
    int firstDraw = 0;
    int lastDraw = 0; // == firstDraw for a ticket of one draw
    int number = 0;   // 0..9999
    BuyKind kind = BuyKind::Straight;
    int units = 1;

    int drawCount() const { return lastDraw - firstDraw + 1; }
    bool covers(int drawNo) const { return drawNo >= firstDraw && drawNo <= lastDraw; }
    bool sameContent(const Ticket& o) const {
        return firstDraw == o.firstDraw && lastDraw == o.lastDraw && number == o.number &&
               kind == o.kind && units == o.units;
    }
};

// What is wrong with a ticket, in Japanese for the user; empty when it can be
// kept: draws 1..99999 with the last not before the first, a number the way
// it is bought can take (a quad is ストレート only), 1..9999 units, at most
// kMaxTicketDraws draws.
std::string ticketProblem(const Ticket& ticket);

// A draw number as typed: digits (full-width too), optionally 「第」…「回」.
// -1 when it is none.
int parseDrawNo(const std::string& text);

} // namespace n4
