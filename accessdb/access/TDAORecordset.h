#pragma once

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAOFields.h"
#include "accessdb/access/TDAOIndexes.h"
#include "mdbengine/dao/Recordset.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace accessdb {

// A table opened as a recordset: moves, keys, bookmarks and changes.
class TDAORecordset : public DaoInterface<mdbengine::Recordset> {
public:
    using DaoInterface::DaoInterface;
    static constexpr std::size_t seekKeys = mdbengine::Recordset::maxSeekKeys;

    void getName(std::string& name) override;
    std::unique_ptr<TDAOFields> getFields() override;
    std::unique_ptr<TDAOIndexes> getIndexes() override;
    std::int32_t recordCount();
    bool bof();
    bool eof();
    bool noMatch();
    bool updatable();

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRecord();
    // Only when an object is held.
    void close();

    std::vector<std::uint8_t> bookmark();
    void setBookmark(const std::vector<std::uint8_t>& bookmark);
    std::vector<std::uint8_t> lastModified();
    void setIndex(const std::string& name);
    // Always 13 keys; those not used are the omitted-argument value.
    void seek(const std::string& comparison, const std::array<Variant, seekKeys>& keys);
    std::int32_t absolutePosition();
    void setAbsolutePosition(std::int32_t position);
};

} // namespace accessdb
