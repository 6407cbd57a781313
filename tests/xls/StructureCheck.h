#pragma once

#include <string>
#include <vector>

namespace xls::test {

// Checks a written workbook file against the published BIFF layout, reading the bytes on its
// own (it shares no code with the writer): BOUNDSHEET offsets point at BOFs, no record is
// longer than its version allows, CONTINUE records follow records that may go on, every
// cell's XF exists, every XF's font and number format exist, every STYLE's XF exists, and
// a BIFF5 file holds no BIFF8-only record; and in the drawings shape ids are unique and
// agree with their DG and DGG records. Returns the problems found; none is success.
std::vector<std::string> checkWorkbookStructure(const std::string& fileBytes);

} // namespace xls::test
