#pragma once

#include "core/CityNames.h"
#include "core/SortKinds.h"

#include <cstdint>
#include <string>

namespace quillan {

// The records a sort is made of. Each family is a vector from index 0, and a link from one
// record to another is the other's index. Trays, sacks and packages are numbered from 1
// where they are printed (tags, lists, the sort-result file): number = index + 1, which
// also turns the links' marks below into the numbers the sort-result file stores for them
// (0 for none, -1 for a ZIP group left below a minimum).

// Why a record's ZIP code was refused: not a ZIP code of five or nine digits, no post office
// serves its 3-digit prefix, or the ZIP+4 an automation mailing needs is missing.
enum class ZipRejection : uint8_t { None, Form, NotServed, Zip4Missing };

// One record of the mailing list: its ZIP code and what the lists and reports need of it.
struct Piece {
    int32_t zip = 0;          // the five digits read (0 to 99999)
    bool withoutZip4 = false; // a co-sacked piece without ZIP+4, grouped apart
    ZipRejection rejection = ZipRejection::None;
    bool inCounty = false; // claims in-county rates
    // Its "CITY ST", upper case, among the mailing's city names (WorkTables::cities).
    int32_t city = CityNames::NoCity;

    bool rejected() const { return rejection != ZipRejection::None; }
    // The key of its ZIP group: the ZIP, negative for a piece without ZIP+4.
    int32_t zipKey() const { return withoutZip4 ? -zip : zip; }
    bool operator==(const Piece&) const = default;
};

// The pieces of one ZIP code; in a co-sacked mailing the pieces without ZIP+4 apart.
struct ZipGroup {
    static constexpr int32_t Unplaced = -1;     // no sort group has taken it yet
    static constexpr int32_t BelowMinimum = -2; // a level left it below its minimum

    int32_t zip = 0; // its key: the ZIP, negative for the pieces without ZIP+4
    int32_t pieces = 0;
    int32_t inCounty = 0;
    int32_t owner = Unplaced; // the sort group that took it

    bool placed() const { return owner >= 0; }
    bool operator==(const ZipGroup&) const = default;
};

// A package or package group.
struct SortGroup {
    static constexpr int32_t NoContainer = -1;

    GroupKind kind = GroupKind::Mixed;
    // The ZIP of a 5-digit group, the prefix of a 3-digit one, the center's number of an
    // ADC or AADC one; 0 for a mixed group.
    int32_t key = 0;
    int32_t pieces = 0;
    int32_t container = NoContainer;
    bool nonbarcoded = false; // the pieces without ZIP+4 of a co-sacked mailing

    bool contained() const { return container >= 0; }
    // The 3-digit prefix of a 5-digit or 3-digit group; 0 for the others.
    int prefix() const {
        if (kind == GroupKind::FiveDigit)
            return key / 100;
        return isThreeDigitGroup(kind) ? key : 0;
    }
    // "01234", "752", "12" or nothing, and "5D 01234", "3D 752", "AD 12" or "MA".
    std::string keyText() const { return groupKeyText(kind, key); }
    std::string label() const { return groupLabel(kind, key); }
    bool operator==(const SortGroup&) const = default;
};

// A tray or sack.
struct Container {
    int32_t pieces = 0;
    ContainerKind kind = ContainerKind::Mixed;
    ContainerLevel level = ContainerLevel::Basic;
    EntryDiscount entry = EntryDiscount::None;
    // The destination line its tag prints, without the kind's mark.
    std::string destination{};

    // The destination behind the kind's mark ("%" mixed, "$" ADC or AADC, "#" 3-digit
    // scheme), as the sort-result file stores it.
    std::string label() const { return containerLabel(kind, destination); }
    bool operator==(const Container&) const = default;
};

} // namespace quillan
