#pragma once

#include "accessdb/access/TAccessCatalogTable.h"
#include "accessdb/access/TDAOParameters.h"

#include <memory>

namespace accessdb {

class TDAOQuerydef;

// The parameters of one stored query: 52-byte parameter descriptors, all input parameters.
class TAccessStoredParamsTable : public TAccessCatalogTable {
public:
    static constexpr std::uint16_t RecordSize = 52;
    static constexpr std::size_t NameOffset = 2;
    static constexpr std::size_t KindOffset = 34;
    static constexpr std::size_t TypeOffset = 38;
    static constexpr std::size_t SubTypeOffset = 40;
    static constexpr std::size_t UnitsOffset = 42;
    static constexpr std::size_t LengthOffset = 48;

    TAccessStoredParamsTable(TBapiListItem* database, TDAOQuerydef* queryDef,
                             TTorvaneCollection* collection);

    std::uint16_t recordSize() override { return RecordSize; }

protected:
    bool buildRecord(std::uint16_t index, Byte* record) override;

private:
    std::unique_ptr<TDAOParameters> parameters_;
};

} // namespace accessdb
