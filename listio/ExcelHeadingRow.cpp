#include "listio/ExcelHeadingRow.h"

#include "listio/HeadingRecord.h"
#include "xls/Sheet.h"

namespace quillan {

bool hasHeadingRow(xls::Sheet& sheet, const FieldRoles& roles) {
    std::vector<std::string> firstRow;
    for (int column = 0; column <= roles.highestField(); ++column)
        firstRow.push_back(sheet.getAsString(column, 0));
    return isNamingRecord(firstRow, roles);
}

} // namespace quillan
