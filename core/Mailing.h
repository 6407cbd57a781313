#pragma once

#include "core/WorkTables.h"

namespace quillan {

// The pieces of one mailing as the steps of a sort hand them on: the list reader fills it,
// the presort takes it over and the finished sort owns it. A value, so that whoever holds
// it is the only one who can change or free it.
struct Mailing {
    WorkTables tables;
    MailingCounters counters;
};

} // namespace quillan
