#pragma once

#include "core/SortedMailing.h"
#include "printouts/ContentIdentifier.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillan {

// Everything a tray or sack tag says, derived from the container's label line and the mail
// class: the same values feed the printed tag, the make-up block of the instructions and the
// container part of a PAVE record.
struct ContainerTag {
    ContainerKind kind;
    bool sack;                   // flats go in sacks, letters in trays
    bool stripes;                // the trays of automation letters carry the automation stripes
    std::string article;         // " a 1' mm-type", " an emm-type", " a", " an"
    char containerType;          // 'S' sack, 'E' emm tray, '1' or '2' foot mm tray
    std::string levelWord;       // "mixed aadc", "ADC", "3-digit scheme", "SCF", "5-digit"...
    std::string levelCode;       // four characters: "MAAD", "ADC ", "3DGS", "5DG "...
    std::string destinationText; // what the make-up sentence calls the destination
    std::string destinationLine; // the tag's top line without its ZIP
    std::string zipText;         // 5 digits, or 3 for an area
    std::string contentNumber;   // 3 digits; empty when the class has no such tag
    std::string contentLine;     // the content text, a blank and the label's second line
    std::string extraLine;       // the label's third line, printed at the right
    std::string listCode;        // 5 characters: the labelling list the tag comes from
    std::string tagCode;         // ZIP (3 digits padded with "00"), content number, processing

    // " tray" or " sack", as the sentences join it.
    const char* containerWord() const { return sack ? " sack" : " tray"; }
    // The characters of the tag code the barcode carries: 8 on a sack, all 10 on a tray.
    std::string barcodeDigits() const;
    size_t barcodeLength() const;
    // All the digits the barcode carries are there (a label list edited after the sort, or a
    // destination without its ZIP, leaves a code that cannot be one).
    bool hasPrintableBarcode() const;
};

// The tag of tray or sack k (from 0). Throws ConvertError when a settings line
// the tag needs (the full-tray count) is not a number.
ContainerTag DescribeContainer(const SortedMailing& mailing, size_t k);

// The first container whose tag code cannot be printed as a barcode (a label list edited
// after the sort, a destination without its ZIP), as the message that names it; nothing when
// every tag can be printed.
std::optional<std::string> FindUnprintableTagCode(const SortedMailing& mailing);

} // namespace quillan
