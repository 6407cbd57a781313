#pragma once

#include "tests/core/postage/PostageFixture.h"

namespace quillan::test {

// Three Periodicals mailings whose postage was worked out by hand (see the charges test),
// under round rates: outside-county pound rates 0.150 (SCF), 0.170 (ADC), 0.190 (zones 1
// and 2), 0.200 to 0.440 (zones 3 to 8); nonautomation pieces 0.300, 0.250, 0.200 and
// automation flats 0.280, 0.230, 0.180 (Basic, 3-Digit, 5-Digit); nonadvertising 0.150 a
// pound and 0.001 a piece and percentage point; discounts 0.010 (SCF) and 0.005 (ADC);
// in-county 0.100 a pound and 0.080 down to 0.040 a piece.

// Nonautomation flats of 2 oz, Regular, 20 % advertising, entered at the SCF of Dallas:
// 25 mixed-sack pieces (20 to zone 5, 5 to zone 7), 30 in a 3-digit sack (zone 3), 40 in
// a 5-digit sack within the SCF.
void regularPeriodicals(PostageFixture& fixture);
// Nonautomation flats of 2 oz, Classroom, 15 % advertising, entered at the ADC of Dallas:
// 16 in a 5-digit sack within the ADC, 24 in a mixed sack to zone 3.
void classroomPeriodicals(PostageFixture& fixture);
// Co-sacked flats of 4 oz, Regular, no advertising, local entry with in-county rates: one
// 5-digit sack of 25 barcoded pieces (8 of 20 in-county in 75201, all 5 of 75202) and 10
// without ZIP+4 (4 in-county), and 12 barcoded pieces to zone 5 in a mixed sack.
void inCountyPeriodicals(PostageFixture& fixture);

} // namespace quillan::test
