#pragma once

#include "accessdb/access/TAccessBaseTable.h"

#include <vector>

namespace accessdb {

// A read-only list over one DAO collection: each record is an engine descriptor made from
// the element at the running position. The count is read once, when the list is made.
class TAccessCatalogTable : public TAccessBaseTable {
public:
    TAccessCatalogTable(TBapiListItem* owner, TTorvaneCollection* collection,
                        const std::string& name);

    std::uint16_t recordSize() override = 0;
    void setToBegin() override;
    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override;
    void getRecordCount(std::uint32_t& count) override { count = count_; }

protected:
    void setCount(std::int16_t count) {
        count_ = count < 0 ? 0 : static_cast<std::uint16_t>(count);
    }
    std::uint16_t position() const { return position_; }
    // Fills the zeroed record of element `index`; false skips the element.
    virtual bool buildRecord(std::uint16_t index, Byte* record) = 0;

private:
    std::uint16_t count_ = 0;
    std::uint16_t position_ = 0;
    std::vector<Byte> record_;
};

} // namespace accessdb
