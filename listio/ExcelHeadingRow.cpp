#include "listio/ExcelHeadingRow.h"

#include "core/Convert.h"
#include "xls/Sheet.h"

namespace quillan {

bool hasHeadingRow(xls::Sheet& sheet, const FieldRoles& roles) {
    const int zipColumn = roles.zipColumn != -1 ? roles.zipColumn : roles.zip5Column;
    if (zipColumn < 0)
        return false;
    return upperAscii(sheet.getAsString(zipColumn, 0)).find("ZIP") != std::string::npos;
}

} // namespace quillan
