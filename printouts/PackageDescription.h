#pragma once

#include "core/SortedMailing.h"

#include <cstdint>
#include <string>

namespace quillan {

// What the instructions say of a package or package group, by its kind (mixed, ADC, AADC,
// 3-digit scheme, 3-digit, 5-digit): how it is described, which sticker or endorsement line
// marks it, and its destination. The same values fill the package part of a PAVE record.
struct PackageDescription {
    std::string description; // "A 5-digit"
    std::string sticker;     // "a red D"
    std::string endorsement; // "5-DIGIT 12345", the text after the asterisks
    std::string levelCode;   // four characters: "5DG ", "MADC"...
    std::string destination; // "12345", "the remaining zips", "ADC " and the label...
    std::string paveName;    // the label-list name of a mixed, ADC or AADC package, else
                             // the destination
};

// Sort group g (from 0). A group of another kind describes nothing (all texts
// empty, the level code four blanks). Throws ConvertError when the mailer's ZIP does not
// begin with three digits (a mixed package names the facility of the mailer's area).
PackageDescription DescribePackage(const SortedMailing& mailing, size_t g);

} // namespace quillan
