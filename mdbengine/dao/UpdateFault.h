#pragma once

// A failing Update, arranged by a test to see what its caller does then: the Update that
// many Updates from now fails with 3043 (a disk or network error) and changes nothing.
// 0 arranges none. One for the whole process; nothing but tests arranges one.

namespace mdbengine {

void failUpdateAfterForTesting(int updates);

} // namespace mdbengine
