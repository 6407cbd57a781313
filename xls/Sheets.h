#pragma once

#include "xls/ExcelMask.h"
#include "xls/SharedStringTable.h"
#include "xls/Sheet.h"

#include <memory>
#include <vector>

namespace xls {

class Workbook;

// The worksheets of a workbook, with the shared string table their text cells point into.
class Sheets {
public:
    explicit Sheets(Workbook& owner);
    Sheets(const Sheets&) = delete;
    Sheets& operator=(const Sheets&) = delete;
    ~Sheets();

    Workbook& owner() const { return owner_; }

    size_t count() const { return sheets_.size(); }
    // The sheet at a 0-based index; raises RangeError outside.
    Sheet& item(size_t index) const;
    // A new sheet at the end, named "Sheet " and its running number.
    Sheet& add();
    int indexOf(const Sheet& sheet) const;

    // No strings, and one new empty sheet: "Sheet 1" again.
    void clear();

    SharedStringTable& strings() { return strings_; }
    ExcelMask& mask() { return mask_; }
    void setMaxRecordSize(int size) { strings_.setMaxRecordSize(size); }

private:
    Workbook& owner_;
    SharedStringTable strings_;
    ExcelMask mask_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    int nextId_ = 0;
};

} // namespace xls
