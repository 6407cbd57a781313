#include "xls/Sheets.h"

#include "xls/XlsError.h"

namespace xls {

Sheets::Sheets(Workbook& owner) : owner_(owner) {}

Sheets::~Sheets() = default;

Sheet& Sheets::item(size_t index) const {
    if (index >= sheets_.size())
        throw RangeError("List index out of bounds (" + std::to_string(index) + ")");
    return *sheets_[index];
}

Sheet& Sheets::add() {
    sheets_.push_back(std::make_unique<Sheet>(*this, nextId_++));
    return *sheets_.back();
}

int Sheets::indexOf(const Sheet& sheet) const {
    for (size_t i = 0; i < sheets_.size(); ++i)
        if (sheets_[i].get() == &sheet)
            return static_cast<int>(i);
    return -1;
}

void Sheets::clear() {
    strings_.clear();
    sheets_.clear();
    nextId_ = 0;
    add();
}

} // namespace xls
