#pragma once

#include "xls/ExcelVersion.h"

#include <string>

namespace xls {

class Workbook;

// What a write of the workbook in its version() would not keep, as the middle of the
// refusal: drawn objects the drawing writer cannot make (when the drawings are not carried
// through as read), and, when a workbook read from a file is written in another version,
// the content of the records that cannot go into it and what the model of a BIFF8 file
// holds that an older version has no place for ("conditional formats on sheet "Data" and
// defined names"). Empty when the write keeps everything.
std::string describeWriteLosses(const Workbook& book);

// "an Excel 5.0 file" and the like.
std::string versionFileName(ExcelVersion version);

} // namespace xls
