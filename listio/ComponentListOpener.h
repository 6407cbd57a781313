#pragma once

#include "core/AppContext.h"
#include "listio/ListSource.h"
#include "listio/TableChooser.h"

#include <memory>
#include <string>

namespace quillan {

// The Access engine holds a database's path in 260 characters, as the desktop it was made
// for does; a longer path would reach it cut short.
inline constexpr size_t LongestAccessPath = 260;

// An Excel or Access list once its sheet or table is chosen: its records and fields, and
// the source that reads them. No records when nothing was chosen or the list was refused
// (the person has been told why).
struct ComponentList {
    long records = 0;
    int fields = 0;
    std::unique_ptr<ListSource> source;
};

// Opening a list held by a component. The table or sheet is the file's only one, else the
// one the third command-line parameter names in an unattended run ("DUZIZ", "NOSTOP"),
// else the one the person picks. Throws the component's error when the file cannot be
// read.
// A database whose path is longer than the Access engine holds (LongestAccessPath) is refused.
ComponentList OpenAccessList(AppContext& ctx, TableChooser& chooser, const std::string& path);
ComponentList OpenExcelList(AppContext& ctx, TableChooser& chooser, const std::string& path);

} // namespace quillan
