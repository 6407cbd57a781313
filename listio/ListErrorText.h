#pragma once

#include <exception>
#include <string>

namespace quillan {

// Why a list could not be read or written, as the person reads it: the words of the
// library's error on one line, without the engine's internal codes and names (an Access
// error keeps its number after its words), and a damaged workbook or database called
// damaged. `explained` is set where the words come from the library that read the file and
// say what is wrong with it, rather than from a file that could not be reached.
struct ListFailure {
    std::string text;
    bool explained = false;
};
ListFailure describeListFailure(const std::exception& error);

// The refusal of a file that is an Excel 2007 or later workbook (a zip archive), named .xls
// or .xlsx alike; empty for any other file.
std::string newerWorkbookRefusal(const std::string& path);

} // namespace quillan
