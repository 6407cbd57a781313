#pragma once

#include "listio/ListSource.h"

namespace accessdb {
class TField;
class TtaTable;
} // namespace accessdb

namespace quillan {

// An Access table through the table component: record k is the k-th record of its walk
// from the first (the order the write-back walks it again), field c the component's field
// c. Text arrives as the table's Windows-1252 bytes.
class AccessListSource : public ListSource {
public:
    // The table must be open; the source closes it when it goes.
    explicit AccessListSource(accessdb::TtaTable& table);
    ~AccessListSource() override;
    AccessListSource(const AccessListSource&) = delete;
    AccessListSource& operator=(const AccessListSource&) = delete;

    std::vector<std::string> fieldNames() override;
    bool read(long k, int fields, ListRecord& record) override;

private:
    bool moveTo(long k);

    accessdb::TtaTable& table_;
    long position_ = 0; // the record the table stands on; 0 when not known
};

// A field's value as the list input reads it: text as text, whole numbers in decimal,
// floating numbers in their general form; every other type, and no value, empty.
std::string accessFieldText(const accessdb::TField& field);

} // namespace quillan
