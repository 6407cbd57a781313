#pragma once

#include <string>
#include <vector>

namespace quillan {

// The statement's boxed figures, one text per box, computed from the numbers so that any
// value the settings hold fills its boxes sensibly.

// A weight in pounds rounded to `decimals`, halves away from zero (0.15625 is "0.1563"): the
// one rounding of weights on the statement and the instructions alike, grouped in thousands
// for the instructions' texts.
std::string poundsText(double pounds, int decimals, bool grouped = false);

// The weight of one piece in pounds, to four decimals: the units (their box holds every
// digit before the point) and then the four decimals; without units only the decimals,
// for the forms that print "0." before the boxes. 3.5 oz is "0", "2", "1", "8", "8".
std::vector<std::string> pieceWeightDigits(double ounces, bool withUnits);

// The advertising percentage to two decimals in four boxes: tens, units, tenths,
// hundredths. 100 % keeps its hundreds in the tens box ("10", "0", "0", "0"); "5." is
// "0", "5", "0", "0".
std::vector<std::string> advertisingDigits(double percent);

// The CASS certification date in eight boxes, month, day and four-digit year, from the
// month, day and year of the statement settings: "3", "7", "24" give 0 3 0 7 2 0 2 4. A
// part that is empty leaves its boxes empty; one that is not a number shows its first
// characters. A date of zeros alone ("00", "00", "00") is none: all eight boxes stay empty.
std::vector<std::string> cassDateCharacters(const std::string& month, const std::string& day,
                                            const std::string& year);

// The total weight of the mailing in pounds, to five significant digits without an
// exponent, halves rounded away from zero: "2700.4", "21.875", "1487.3" for 1487.25.
std::string totalWeightText(double pounds);

} // namespace quillan
