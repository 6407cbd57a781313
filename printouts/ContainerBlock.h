#pragma once

#include "core/SortedMailing.h"
#include "printouts/PrintRun.h"

#include <cstdint>
#include <string>

namespace quillan {

// Where a container block is drawn: as the left or right tag of a row on tag stock, or as the
// make-up block of the container in the mail preparation instructions.
enum class ContainerBlockMode { LeftTag, RightTag, Instructions };

// How the instructions list a container's contents after its block: package by package,
// group by group, or as bare ZIP lines (the 5-digit and 3-digit trays of letters without
// packages).
enum class ContainerListing { Package, Group, None };

// What the container blocks of one printout share, read once before its document begins so
// that a settings line that is not a number stops the printout before anything is drawn.
struct TagStyle {
    std::string fontName;
    int trayLeft = 0, trayRight = 0, trayBottom = 0;
    int sackLeft = 0, sackRight = 0;
    std::string entryOffice;

    // Throws ConvertError naming the fonts.dat line that is not a size, or when the mailer's
    // ZIP does not begin with three digits.
    static TagStyle of(const SortedMailing& mailing);
};

// Draws tray or sack k from the pen position: a tag (destination, content line, barcode,
// stripes for automation letters, entry office, number and pieces; on tag stock also the
// dotted cut line of a sack), or in the instructions the make-up sentence, the full-size tag in
// its outline, the postage category box and the contents heading, starting a new page first
// when the block would not fit (or stopping when the To page is reached: then nothing is drawn).
// Only pages in range are drawn on; the pen moves in any case and is left at (36 pt, below the
// block). On tag stock the barcode's digits must have been checked (FindUnprintableTagCode).
ContainerListing PrintContainerBlock(PrintRun& run, const SortedMailing& mailing,
                                     const TagStyle& style, size_t k, ContainerBlockMode mode);

} // namespace quillan
