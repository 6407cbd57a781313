#pragma once

// A driver cursor over rows kept in a vector, sorted by ID, for the engine's tests and
// benchmarks: fields ID (32-bit, the key), NAME (text of 20) and FLAG (boolean), with null
// indicators; the bookmark is the row index.

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/TBaseTable.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace accessdb::testing {

struct Row {
    std::int32_t id;
    std::string name;
    bool flag = false;
};

class TestCursor : public TBaseTable {
public:
    static constexpr std::uint16_t IdField = 1;
    static constexpr std::uint16_t NameField = 2;
    static constexpr std::uint16_t FlagField = 3;

    explicit TestCursor(std::vector<Row> rows, TTorvaneCollection* collection = nullptr,
                        TBapiListItem* owner = nullptr, const std::string& name = "PEOPLE")
        : TBaseTable(owner, collection, name, "", 0, 0), rows_(std::move(rows)) {
        setSourceName(name);
        addField(IdField, "ID", fldtype::INT32, 0, 4, 0);
        addField(NameField, "NAME", fldtype::ZSTRING, 4, 21, 20);
        addField(FlagField, "FLAG", fldtype::BOOL, 25, 2, 0);
        assignNullOffsets();
        const std::uint16_t keyFields[] = {IdField};
        setKeyFields(keyFields, 4, {}, false);
    }

    // Makes the key compare descending (or ascending again).
    void setDescendingKey(bool descending) {
        const std::uint16_t keyFields[] = {IdField};
        KeyFieldInfo info;
        info.descending = descending;
        setKeyFields(keyFields, 4, std::span<const KeyFieldInfo>(&info, 1), false);
    }

    bool hasNullIndicators() const override { return true; }
    std::uint16_t bookmarkSize() override { return 4; }

    void moveFirst() override {
        if (rows_.empty())
            raiseEOF();
        goTo(0);
    }
    void moveLast() override {
        if (rows_.empty())
            raiseBOF();
        goTo(static_cast<int>(rows_.size()) - 1);
    }
    void moveNext() override {
        if (pos_ + 1 >= static_cast<int>(rows_.size())) {
            pos_ = static_cast<int>(rows_.size());
            raiseEOF();
        }
        goTo(pos_ + 1);
    }
    void movePrior() override {
        if (pos_ - 1 < 0) {
            pos_ = -1;
            raiseBOF();
        }
        goTo(pos_ - 1);
    }

    void getBookmark(Byte* bookmark) override {
        if (pos_ < 0 || pos_ >= static_cast<int>(rows_.size()))
            raiseEngineError(dbierr::NOCURRREC);
        putU32(bookmark, 0, static_cast<std::uint32_t>(pos_));
    }
    void setToBookmark(const Byte* bookmark) override {
        goTo(static_cast<int>(getU32(bookmark, 0)));
        setOnRecord();
    }
    void getRecordAtBookmark(const Byte* bookmark, LockType lock, Byte* buffer) override {
        locks.push_back(lock);
        pos_ = static_cast<int>(getU32(bookmark, 0));
        read(buffer);
    }
    int compareBookmarks(const Byte* a, const Byte* b) override {
        std::uint32_t x = getU32(a, 0);
        std::uint32_t y = getU32(b, 0);
        return x < y ? -1 : (x > y ? 1 : 0);
    }

    void translateFieldOut(std::uint16_t, std::uint16_t localSize, bool&, Byte* dest,
                           const Byte* data, std::uint16_t, std::uint16_t) override {
        std::memcpy(dest, data, localSize);
    }
    void translateFieldIn(std::uint16_t, std::uint16_t localSize, Byte* data, const Byte* source,
                          std::uint16_t, std::uint16_t) override {
        if (source)
            std::memcpy(data, source, localSize);
        else
            std::memset(data, 0, localSize);
    }
    void getFieldValue(TFieldCacheItem& item, Byte* record, bool& isBlank, Byte* dest) override {
        ++fieldReads[item.fieldNumber()];
        TBaseTable::getFieldValue(item, record, isBlank, dest);
    }

    void extractPartialKey(const Byte* record, Byte* key, std::uint16_t, std::uint16_t) override {
        std::memcpy(key, record, 4);
    }
    void setToKey(int condition, bool keyItself, Byte* record, const Byte* key, std::uint16_t,
                  std::uint16_t) override {
        std::int32_t k = getI32(keyItself ? record : key, 0);
        int n = static_cast<int>(rows_.size());
        int found = -1;
        if (condition == searchcond::Le || condition == searchcond::Lt) {
            for (int i = n - 1; i >= 0 && found < 0; --i)
                if (rows_[i].id < k || (condition == searchcond::Le && rows_[i].id == k))
                    found = i;
            if (found < 0)
                raiseBOF();
        } else {
            for (int i = 0; i < n && found < 0; ++i)
                if (rows_[i].id > k || (condition != searchcond::Gt && rows_[i].id == k))
                    found = i;
            if (found < 0 || (condition == searchcond::Eq && rows_[found].id != k))
                raiseEOF();
        }
        goTo(found);
    }

    // The one index: ID.
    void getIndexDesc(std::uint16_t, IndexDesc& desc) override {
        desc = IndexDesc{};
        desc.name = "PRIMARY";
        desc.primary = 1;
        desc.keyFieldCount = 1;
        desc.keyFields[0] = IdField;
        desc.keyLength = 4;
    }
    void getRecordForKey(bool directKey, std::uint16_t, std::uint16_t, const Byte* key,
                         Byte* buffer) override {
        std::int32_t k = getI32(key, directKey ? 0 : 0);
        for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
            if (rows_[static_cast<std::size_t>(i)].id == k) {
                pos_ = i;
                read(buffer);
                setOnRecord();
                return;
            }
        }
        raiseEngineError(dbierr::RECNOTFOUND);
    }

    // The record as the cursor lays it out.
    void fill(Byte* buffer, const Row& row) {
        std::memset(buffer, 0, recordBufferSize());
        putI32(buffer, 0, row.id);
        std::strncpy(reinterpret_cast<char*>(buffer + 4), row.name.c_str(), 20);
        putU16(buffer, 25, row.flag ? 1 : 0);
        for (int i = 1; i <= fieldCache().count(); ++i) {
            TFieldCacheItem& item = fieldCache().items(i);
            item.setRecordBuffer(buffer);
            item.setNull(false);
            item.setChanged(false);
        }
    }

    // Changes: modify writes the row in place, append adds one at the end, delete removes
    // the current row; a row with refusedId is refused with a key violation.
    void modifyRecord(Byte* buffer, bool) override {
        checkCurrent();
        if (getI32(buffer, 0) == refusedId)
            raiseEngineError(0x2601);
        rows_[static_cast<std::size_t>(pos_)] = rowOf(buffer);
        ++modifications;
    }
    void appendRecord(Byte* buffer) override {
        if (getI32(buffer, 0) == refusedId)
            raiseEngineError(0x2601);
        rows_.push_back(rowOf(buffer));
        ++appends;
    }
    void insertRecord(LockType, Byte* buffer) override { appendRecord(buffer); }
    void deleteRecord(Byte*) override {
        checkCurrent();
        rows_.erase(rows_.begin() + pos_);
        ++deletes;
        setPositionState(PositionState::OnCrack);
        --pos_;
    }

    const std::vector<Row>& rows() const { return rows_; }
    std::vector<LockType> locks;
    std::map<int, int> fieldReads;
    std::int32_t refusedId = -1;
    int modifications = 0;
    int appends = 0;
    int deletes = 0;

private:
    void addField(std::uint16_t number, const std::string& name, std::uint16_t type,
                  std::uint16_t offset, std::uint16_t length, std::int16_t units1) {
        FieldDesc d;
        d.setName(name);
        d.type = type;
        d.offset = offset;
        d.length = length;
        d.units1 = units1;
        fieldCache().add(length, type, number, d);
    }
    void checkCurrent() {
        if (pos_ < 0 || pos_ >= static_cast<int>(rows_.size()))
            raiseEngineError(dbierr::NOCURRREC);
    }
    static Row rowOf(const Byte* buffer) {
        return {getI32(buffer, 0),
                std::string(reinterpret_cast<const char*>(buffer + 4),
                            ::strnlen(reinterpret_cast<const char*>(buffer + 4), 20)),
                getU16(buffer, 25) != 0};
    }
    void goTo(int index) {
        pos_ = index;
        read(recordBuffer());
    }
    void read(Byte* buffer) {
        if (buffer && pos_ >= 0 && pos_ < static_cast<int>(rows_.size()))
            fill(buffer, rows_[static_cast<std::size_t>(pos_)]);
    }

    std::vector<Row> rows_;
    int pos_ = -1;
};

inline std::vector<Row> fivePeople() {
    return {{10, "Ann"}, {20, "Bob"}, {30, "Cy"}, {40, "Dee"}, {50, "Eve"}};
}

inline std::int32_t idOf(const Byte* record) {
    return getI32(record, 0);
}

} // namespace accessdb::testing
