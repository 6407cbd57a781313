#include "accessdb/classlib/TField.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/TDataSet.h"

#include <cstdio>
#include <vector>

namespace accessdb {

TField::TField(TFieldType type, const std::string& fieldName, int size)
    : fieldName_(fieldName), dataType_(type), size_(size) {}

bool TField::getData(Byte* buffer) const {
    if (!dataSet_)
        throw EDatabaseError("Field '" + fieldName_ + "' has no dataset");
    return dataSet_->getFieldData(const_cast<TField&>(*this), buffer);
}

void TField::setData(const Byte* buffer) {
    if (!dataSet_)
        throw EDatabaseError("Field '" + fieldName_ + "' has no dataset");
    dataSet_->setFieldData(*this, buffer);
}

bool TField::isNull() const {
    if (dataSize() == 0)
        return value().isNull();
    std::vector<Byte> buffer(static_cast<std::size_t>(dataSize()) + 1);
    return !getData(buffer.data());
}

void TField::clear() {
    setValue(Variant::null());
}

std::string TField::asString() const {
    return textOf(value());
}

void TField::rangeError(double value, double low, double high) const {
    char text[256];
    std::snprintf(text, sizeof text,
                  "%g is not a valid value for field '%s'. The allowed range is %g to %g", value,
                  fieldName_.c_str(), low, high);
    throw EDatabaseError(text);
}

} // namespace accessdb
