#pragma once

#include "core/SortedMailing.h"
#include "core/settings/SettingsLists.h"
#include "listio/ListReading.h"

#include <string>
#include <vector>

namespace quillan {

// Everything the sort information is written from: the list as it was read, the finished sort of
// it, the settings it was sorted under, where the separate sort-information file goes when the
// preferences ask for none by name, and for a PAVE list the PAVE part of every placed piece,
// in presort order, as the sort made them.
struct SortInformationJob {
    const ReadList& list;
    const SortedMailing& mailing;
    const SettingsLists& settings;
    std::string separateFilePath;
    std::vector<std::string> presortRecords;
};

} // namespace quillan
