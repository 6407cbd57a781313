#pragma once

#include "core/Notices.h"

#include <exception>
#include <string>

namespace quillan {

// Where the unknown-format message sends the user.
inline constexpr const char* SupportAddress = "support@quillan-mail.com";

// The refusals the reading of a list tells a person, each a box of its own words.

// A list refused for the reason given, in an error box with its Cancel button.
void refuseList(Notices& notices, const std::string& text);

// A list refused for a line or record of it that Quillan does not read: the message names
// the file, and `why` the lines and what is wrong with them.
void refuseUnreadableList(Notices& notices, const std::string& path, const std::string& why);

// The file could not be read. `inUse` keeps the hint that another program may hold the
// file, which fits a failure to open or read it but not a path that is no file at all.
void cannotReadList(Notices& notices, const std::string& path, const std::string& why,
                    bool inUse = true);
// A failure while the list is read: where the library that read it says what is wrong, it
// is told in its words; otherwise the file may be held by another program.
void cannotReadList(Notices& notices, const std::string& path, const std::exception& error);

// The warning for a file whose format Quillan cannot tell; `why` adds what was found.
void showUnknownFormat(Notices& notices, const std::string& why = {});

// The refusal of a list that holds no record to sort; `why` says what it holds instead.
void ShowNoRecords(Notices& notices, const std::string& path, const std::string& why);

} // namespace quillan
