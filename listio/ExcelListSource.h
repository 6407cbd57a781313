#pragma once

#include "listio/ListSource.h"

namespace xls {
class Sheet;
}

namespace quillan {

// A worksheet of the workbook held in the list components: field c is column c, each cell
// as its text, and record k is row k - 1, or row k once the roles tell that the first row
// is a heading row. Until then a row of field names is record 1, as the field dialog
// shows it.
class ExcelListSource : public ListSource {
public:
    ExcelListSource(xls::Sheet& sheet, int fieldCount);

    // The texts of row 0, which the field names are when the sheet has them.
    std::vector<std::string> fieldNames() override;
    bool read(long k, int fields, ListRecord& record) override;
    long readFor(const FieldRoles& roles) override;

private:
    // The text of a cell; a number in a ZIP field has its digits padded back to the ZIP's
    // width.
    void fieldText(int col, int row, std::string& text);
    int zipWidth(int col, int32_t value) const;

    xls::Sheet& sheet_;
    int fieldCount_;
    FieldRoles zipRoles_;
    int firstRow_ = 0; // the row of record 1
};

} // namespace quillan
