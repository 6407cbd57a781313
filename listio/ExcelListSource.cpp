#include "listio/ExcelListSource.h"

#include "core/Convert.h"
#include "listio/ExcelHeadingRow.h"
#include "xls/Sheet.h"
#include "xls/XlsError.h"

namespace quillan {

ExcelListSource::ExcelListSource(xls::Sheet& sheet, int fieldCount)
    : sheet_(sheet), fieldCount_(fieldCount) {}

std::vector<std::string> ExcelListSource::fieldNames() {
    std::vector<std::string> names;
    for (int c = 0; c < fieldCount_; ++c)
        names.push_back(sheet_.getAsString(c, 0));
    return names;
}

bool ExcelListSource::read(long k, int fields, ListRecord& record) {
    if (k < 1 || k - 1 + firstRow_ > sheet_.lastRow)
        return false;
    const int row = static_cast<int>(k - 1 + firstRow_);
    record.fillFields(std::min(fields, xls::MaxColumn + 1),
                      [&](int col, std::string& text) { fieldText(col, row, text); });
    return true;
}

long ExcelListSource::readFor(const FieldRoles& roles) {
    zipRoles_ = roles;
    firstRow_ = hasHeadingRow(sheet_, roles) ? 1 : 0;
    return firstRow_;
}

// A ZIP typed into a cell as a number lost its leading zeros: 1234 is the ZIP 01234, and a
// ZIP+4 of 123 is 0123.
int ExcelListSource::zipWidth(int col, int32_t value) const {
    if (col == zipRoles_.zipColumn)
        return value > 99999 ? 9 : 5;
    if (col == zipRoles_.zip5Column)
        return 5;
    if (col == zipRoles_.zip4Column)
        return 4;
    return 0;
}

void ExcelListSource::fieldText(int col, int row, std::string& text) {
    xls::CellType type = sheet_.getCellType(col, row);
    const bool number = type == xls::CellType::Integer || type == xls::CellType::Float;
    if (!number ||
        (col != zipRoles_.zipColumn && col != zipRoles_.zip5Column && col != zipRoles_.zip4Column))
        return sheet_.getAsString(col, row, text);
    try {
        int32_t value = sheet_.getAsInteger(col, row);
        text = zeroPad(value, zipWidth(col, value));
    } catch (const xls::XlsError&) {
        // A number too large for any ZIP stays as it reads, and fails as a ZIP.
        sheet_.getAsString(col, row, text);
    }
}

} // namespace quillan
