#pragma once

#include <array>

namespace quillan {

// Which field of a record plays which role: a 0-based field index, -1 for none. The ZIP
// code is whole, or in a 5-digit and a +4 field; city and state apart or in one field; the
// last four roles but county are the fields that receive the sort information.
struct FieldRoles {
    int ZipColumn = -1;
    int Zip5Column = -1;
    int Zip4Column = -1;
    int CityColumn = -1;
    int StateColumn = -1;
    int CityStateColumn = -1;
    int SortColumn = -1;
    int TrayColumn = -1;
    int PackageColumn = -1;
    int EndorsementColumn = -1;
    int CountyColumn = -1;

    // The eleven roles in the order above.
    static constexpr std::array<int FieldRoles::*, 11> all{
        &FieldRoles::ZipColumn,         &FieldRoles::Zip5Column,  &FieldRoles::Zip4Column,
        &FieldRoles::CityColumn,        &FieldRoles::StateColumn, &FieldRoles::CityStateColumn,
        &FieldRoles::SortColumn,        &FieldRoles::TrayColumn,  &FieldRoles::PackageColumn,
        &FieldRoles::EndorsementColumn, &FieldRoles::CountyColumn};

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
