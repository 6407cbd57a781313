#pragma once

#include <array>

namespace quillan {

// Which field of a record plays which role: a 0-based field index, -1 for none. The ZIP
// code is whole, or in a 5-digit and a +4 field; city and state apart or in one field; the
// last four roles but county are the fields that receive the sort information.
struct FieldRoles {
    int zipColumn = -1;
    int zip5Column = -1;
    int zip4Column = -1;
    int cityColumn = -1;
    int stateColumn = -1;
    int cityStateColumn = -1;
    int sortColumn = -1;
    int trayColumn = -1;
    int packageColumn = -1;
    int endorsementColumn = -1;
    int countyColumn = -1;

    // The eleven roles in the order above.
    static constexpr std::array<int FieldRoles::*, 11> all{
        &FieldRoles::zipColumn,         &FieldRoles::zip5Column,  &FieldRoles::zip4Column,
        &FieldRoles::cityColumn,        &FieldRoles::stateColumn, &FieldRoles::cityStateColumn,
        &FieldRoles::sortColumn,        &FieldRoles::trayColumn,  &FieldRoles::packageColumn,
        &FieldRoles::endorsementColumn, &FieldRoles::countyColumn};

    void resetRoles() { *this = FieldRoles{}; }
    // The highest field any role names, -1 for none.
    int highestField() const {
        int highest = -1;
        for (int FieldRoles::*role : all)
            highest = this->*role > highest ? this->*role : highest;
        return highest;
    }
    friend bool operator==(const FieldRoles&, const FieldRoles&) = default;
};

} // namespace quillan
