#pragma once

#include "core/SortedMailing.h"

#include <cstdint>
#include <functional>

namespace quillan {

// One piece as the presort placed it: record r of the list, taken for ZIP group z of sort
// group g in tray or sack c (their indexes).
struct PlacedPiece {
    int32_t record;
    int32_t zipGroup;
    int32_t sortGroup;
    int32_t container;
};

// Visits every placed piece once, in the order of the mail preparation instructions: tray
// or sack by tray or sack, its sort groups in turn, their ZIP groups in turn, and within a
// ZIP group the records of its ZIP in list order, up to the group's piece count. For
// Periodicals with in-county rates a group takes its in-county records first; in a
// co-sacked mailing a nonbarcoded group takes the records without ZIP+4 and any other group
// those with it. Rejected records are never visited.
//
// The records are found through an index of their ZIP keys, so the walk costs about one
// visit per record however many ZIP groups there are. `beforeContainer` runs before each
// tray or sack, with its index, for the progress picture.
void WalkPresortOrder(const SortedMailing& mailing,
                      const std::function<void(int32_t)>& beforeContainer,
                      const std::function<void(const PlacedPiece&)>& onPiece);

// True when the walk gives the in-county pieces of a ZIP group first.
bool inCountyFirst(const SortedMailing& mailing);

} // namespace quillan
