#pragma once

#include "core/WorkTables.h"

namespace quillan {

// The most records a mailing may hold.
inline constexpr int32_t MaxMailingRecords = 100000;

// The pieces of one mailing as the steps of a sort hand them on: the list reader fills it,
// the presort takes it over and the finished sort owns it. A value, so that whoever holds
// it is the only one who can change or free it.
struct Mailing {
    WorkTables tables;
    MailingCounters counters;

    // The records read, and the pieces of the mailing: its records but the rejected ones.
    int32_t recordCount() const { return static_cast<int32_t>(tables.pieces.size()); }
    int32_t validPieces() const { return recordCount() - counters.rejectedCount; }
};

} // namespace quillan
