#pragma once

#include "listio/FieldRoles.h"

#include <functional>
#include <optional>
#include <string>

namespace quillan {

class ListSource;
struct ListFormat;

// What the field identification found for a list, for a person to confirm.
struct FieldProposal {
    const ListFormat* format = nullptr;
    std::string path;
    long records = 0;
    int fieldCount = 0;
    FieldRoles roles;
    // Where the records can be looked at while the roles are chosen; the list's own source,
    // which the chooser may move about in.
    ListSource* source = nullptr;
    // Tells the person, while the chooser stays open to mend them, what keeps the roles
    // chosen from being read with; true when nothing does. Empty: any roles are taken.
    std::function<bool(const FieldRoles&)> accepts = {};
};

// The person who confirms or corrects the field roles of a list before it is read: the
// field identification dialog. Nothing is kept between two lists.
class FieldChooser {
public:
    virtual ~FieldChooser() = default;
    // The roles chosen, or nothing when the person cancelled.
    virtual std::optional<FieldRoles> confirm(const FieldProposal& proposal) = 0;
};

} // namespace quillan
