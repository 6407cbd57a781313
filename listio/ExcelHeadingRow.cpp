#include "listio/ExcelHeadingRow.h"

#include "listio/HeadingRecord.h"
#include "xls/Sheet.h"

namespace quillan {

bool hasHeadingRow(xls::Sheet& sheet, const FieldRoles& roles) {
    const int zipColumn = headingTestField(roles);
    return zipColumn >= 0 && namesTheFields(sheet.getAsString(zipColumn, 0));
}

} // namespace quillan
