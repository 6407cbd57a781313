#pragma once

#include "listio/ListSource.h"

namespace xls {
class Sheet;
}

namespace quillan {

// A worksheet of the workbook held in the list components: record k is row k - 1 (the
// sheet has no header row of its own; a row of field names is record 1), field c column c,
// each cell as its text.
class ExcelListSource : public ListSource {
public:
    ExcelListSource(xls::Sheet& sheet, int fieldCount);

    // The texts of row 0, which the field names are when the sheet has them.
    std::vector<std::string> fieldNames() override;
    bool read(long k, int fields, ListRecord& record) override;
    void readZipFieldsOf(const FieldRoles& roles) override;

private:
    // The text of a cell; a number in a ZIP field has its digits padded back to the ZIP's
    // width.
    std::string fieldText(int col, int row);
    int zipWidth(int col, int32_t value) const;

    xls::Sheet& sheet_;
    int fieldCount_;
    FieldRoles zipRoles_;
};

} // namespace quillan
