#pragma once

#include "core/ListState.h"
#include "core/SortedMailing.h"
#include "core/settings/SettingsLists.h"

#include <string>
#include <vector>

namespace quillan {

class ListComponents;

// The list a sort came from, as it was read: its file, its kind, the fields and layout found
// in it, and for Excel and Access lists the workbook or table component it was read through,
// which the sort information is written back through.
struct SortedListFile {
    std::string path;
    std::string kind;
    ListState state;
    ListComponents* components = nullptr;
};

// Everything the sort information is written from: the list, the finished sort of it, the
// settings it was sorted under, where the separate sort-information file goes when the
// preferences ask for none by name, and for a PAVE list the PAVE part of every placed piece,
// in presort order, as the sort made them.
struct SortInformationJob {
    const SortedListFile& list;
    const SortedMailing& mailing;
    const SettingsLists& settings;
    std::string separateFilePath;
    std::vector<std::string> presortRecords;
};

} // namespace quillan
