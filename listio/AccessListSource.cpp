#include "listio/AccessListSource.h"

#include "accessdb/access/TtaTable.h"
#include "xls/NumberText.h"

namespace quillan {

using accessdb::TFieldType;

AccessListSource::AccessListSource(accessdb::TtaTable& table) : table_(table) {}

AccessListSource::~AccessListSource() {
    try {
        table_.setActive(false);
    } catch (...) {
        // Nothing was changed through the source, so closing has nothing to lose.
    }
}

std::vector<std::string> AccessListSource::fieldNames() {
    std::vector<std::string> names;
    for (int i = 0; i < table_.fieldCount(); ++i)
        names.push_back(table_.fields(i).fieldName());
    return names;
}

// Walking on or back by one is the cheap case; anything else walks from the first record.
bool AccessListSource::moveTo(long k) {
    if (k == position_)
        return true;
    if (position_ > 0 && k == position_ + 1) {
        table_.next();
    } else if (position_ > 1 && k == position_ - 1) {
        table_.prior();
    } else {
        table_.first();
        if (k > 1 && !table_.eof())
            table_.moveBy(static_cast<int>(k - 1));
    }
    position_ = table_.eof() ? 0 : k;
    return position_ == k;
}

bool AccessListSource::read(long k, int fields, ListRecord& record) {
    if (k < 1 || !moveTo(k))
        return false;
    record.fillFields(std::min(fields, table_.fieldCount()),
                      [this](int i) { return accessFieldText(table_.fields(i)); });
    return true;
}

std::string accessFieldText(const accessdb::TField& field) {
    if (field.isNull())
        return {};
    switch (field.dataType()) {
    case TFieldType::String:
        return field.asString();
    case TFieldType::Integer:
    case TFieldType::Largeint:
        return std::to_string(field.asInteger());
    case TFieldType::Float:
        // The general form numbers take everywhere in the lists: up to 15 digits.
        return xls::numberText(field.asFloat(), '.');
    default:
        return {};
    }
}

} // namespace quillan
