#pragma once

#include "core/presort/LaterLevels.h"

namespace quillan::test {

// A plain row-by-row implementation of the levels after the 5-digit one, written straight
// from the level rules for the tests: every total is summed afresh over the table rows,
// every container and group is inserted at its row with the links after it renumbered at
// once. The program's own levels must give exactly the same tables.
const LaterLevels& literalLevels();

} // namespace quillan::test
