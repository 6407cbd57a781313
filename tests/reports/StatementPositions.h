#pragma once

// Where the postage statement prints on its forms, as test data: the places of the
// coordinate file with the offsets the statement adds to them, and the fixed positions of
// totals, Periodicals lines and the zone table. The form tests check that all of them fall
// on the page image; the sample printout fills them in.

#include <string>
#include <vector>

namespace quillan::test {

enum class FormFamily { Standard, NonmachinableLetters, HeavyLetters, FirstClass, Periodicals };

FormFamily familyOf(const std::string& formName);

// Place n printed at (x + dx, y + dy). Some uses exclude each other (sacks or trays,
// one weight class); the sample printout shows only the first of such a set.
struct PlaceUse {
    int place;
    int dx;
    int dy;
    std::string sample;
    bool inSample = true;
};

// Printed at a fixed point of a page; right-aligned texts end at x. A y of -1 means the
// y of place 17 (the two-decimal total); an x of -1 the x of place 17.
struct FixedText {
    int page;
    double x;
    double y;
    bool right;
    std::string sample;
};

std::vector<PlaceUse> placeUses(FormFamily family, bool permit);
std::vector<FixedText> fixedTexts(FormFamily family, bool permit, bool nonprofit);

// The page-2 sections a family's forms print their rate lines into.
std::vector<char> sectionsOf(FormFamily family);

} // namespace quillan::test
