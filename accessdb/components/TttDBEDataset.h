#pragma once

#include "accessdb/classlib/TDataSet.h"
#include "accessdb/components/TDataSetUpdateObject.h"
#include "accessdb/engine/CursorCallback.h"
#include "accessdb/engine/FieldDesc.h"
#include "accessdb/engine/StatusCodes.h"

#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

namespace accessdb {

class TBaseTable;
class TFilterListItem;
class TVirtEng;

// A dataset over one engine cursor: each row operation of the dataset core travels to the
// engine through its call interface, and statuses become ETDBEngineError.
class TttDBEDataset : public TDataSet {
    friend class TttBlobStream;

public:
    static constexpr std::uint32_t PositionChangedProp = 0x50014;
    static constexpr std::uint32_t OldValuesProp = 0x5050004;
    static constexpr std::size_t BlockBufferSize = 24576;

    enum KeyIndex { LookupKey, RangeStart, RangeEnd, AppliedStart, AppliedEnd, SavedKey };

    explicit TttDBEDataset(TComponent* owner);
    ~TttDBEDataset() override;

    virtual TVirtEng* engine() const = 0;
    TBaseTable* handle() const { return handle_; }
    bool canModify() const { return canModify_; }
    bool hasOpenCursor() const { return handle_ != nullptr; }
    int rowNumber() const;

    bool cachedUpdates() const { return cachedUpdates_; }
    void setCachedUpdates(bool on);
    // A field's value before the pending change, with cached updates only; while the cached
    // updates are applied, before and after the change being applied.
    Variant oldValue(TField& field);
    Variant newValue(TField& field);

    // Applying the cached changes: each goes to OnUpdateRecord when it is assigned (which
    // applies it and says so), else to the update object, else the engine applies it. A
    // refusal goes to OnUpdateError, whose action decides. The applying raises the first
    // failure left standing, once the other changes are applied.
    using UpdateRecordEvent = std::function<void(TDataSet&, UpdateKind, UpdateAction&)>;
    using UpdateErrorEvent =
        std::function<void(TDataSet&, const EDatabaseError&, UpdateKind, UpdateAction&)>;
    UpdateRecordEvent onUpdateRecord;
    UpdateErrorEvent onUpdateError;
    void applyUpdates();
    // Drops every cached change.
    void cancelUpdates();
    TDataSetUpdateObject* updateObject() const { return updateObject_; }
    void setUpdateObject(TDataSetUpdateObject* updateObject);

    bool getFieldData(TField& field, Byte* buffer) override;
    void setFieldData(TField& field, const Byte* buffer) override;
    std::string getBlobFieldData(TField& field) override;
    // Translates between the windows' character set and the engine's, in place when the
    // buffers are the same.
    void translate(const char* source, char* destination, bool toNative);

protected:
    // The descendant's cursor (the table component opens its table); the base has none.
    virtual TBaseTable* createHandle() { return nullptr; }
    // Runs once the dataset is open, before it goes to its first row (the table applies its
    // master range).
    virtual void afterOpenHook() {}
    void opened() override { afterOpenHook(); }
    bool constraintCheckingOn() const;

    void openDataset() override;
    void afterLayout() override;
    void closeDataset() override;
    std::size_t engineRecordSize() const override { return recordSize_; }
    std::size_t bookmarkSize() const override { return bookmarkSize_; }
    FetchResult fetchRow(Byte* buffer, FetchMode mode, bool reportErrors) override;
    void cursorToStart() override;
    void cursorToEnd() override;
    void initRowBuffer(Byte* buffer) override;
    void beginRowEdit(Byte* buffer) override;
    void beginRowInsert() override;
    void postRow(Byte* buffer) override;
    void deleteRow() override;
    void cancelRowEdit() override;
    void gotoRowBookmark(const Byte* bookmark) override;
    bool isRowBookmarkValid(const Byte* bookmark) override;
    int compareRowBookmarks(const Byte* a, const Byte* b) override;
    int rowCount() override;
    bool locateRow(const std::vector<TField*>& fields, const std::vector<Variant>& values,
                   LocateOptions options, Byte* buffer) override;
    void filterChanged() override;
    bool findRecord(bool restart, bool forward) override;
    void refreshRows() override;
    // Follows the parent: the same parent record only resynchronises, another moves to the
    // first row.
    void parentScrolled() override;
    bool postKeepsRow() const override { return !cachedUpdates_; }
    void blockReadChanged() override;

    virtual void loadFieldDefinitions();
    // Field definitions from engine field descriptors; `required` is indexed by field
    // number.
    void buildFieldDefs(const std::vector<FieldDesc>& descs, const std::vector<bool>& required);
    void openEngineCursor();
    // The status of the engine's close (0 when there was no cursor).
    Status closeEngineCursor();
    // Another cursor on the same table whose index leads with the fields (the table's lookup
    // cursor); the base has none.
    virtual TBaseTable* lookupCursor(const std::vector<TField*>& fields, bool caseInsensitive);

    // The active index, for descendants: key fields by key position, switching indexes.
    std::uint16_t indexFieldCount() const { return keyFieldCount_; }
    TField& indexField(int keyPosition) const;
    void switchToIndex(const std::string& indexName, const std::string& tagName);

    // Key buffers: 8 header bytes (modified flag, field count) and one row each.
    // Starts editing a key buffer (set-key state); the key fields take the values.
    void setKeyBuffer(KeyIndex index, bool clear);
    // Sets the range start and end to the values of the leading key fields.
    void setLinkRanges(const std::vector<Variant>& values);
    // Gives the edited range to the cursor; false when it did not change.
    bool applyRange();
    // Removes an applied range; false when there was none.
    bool cancelRange();
    bool rangeApplied() const;
    void endKeyEdit(bool post) override;
    Byte* currentRowBuffer() override;
    const std::vector<FieldDesc>& engineFields() const { return engineFields_; }

private:
    std::vector<Byte> filterBlob() const;
    void makeFilters();
    void applyFiltered();
    void dropFilters();
    static std::int32_t filterCallback(std::uintptr_t dataSet, const Byte* record, std::int16_t);
    static std::int32_t delayedUpdateCallback(std::uintptr_t dataSet, void* info);
    std::int32_t decideUpdate(const DelayedUpdateInfo& info);
    // A field's value in a row of the dataset's layout, through the field itself.
    Variant valueIn(TField& field, const Byte* row);
    FetchResult nextFromBlock(Byte* buffer);
    void readIndexInfo();
    bool locateWithFilter(const std::vector<TField*>& fields, const std::vector<Variant>& values,
                          LocateOptions options, Byte* buffer);
    bool keyMatches(const std::vector<TField*>& fields, bool caseInsensitive) const;

    // The engine the dataset opened with: closing works without asking the descendant, which
    // may already be gone when the dataset is destroyed.
    TVirtEng* eng() const;
    TVirtEng* engine_ = nullptr;
    TBaseTable* handle_ = nullptr;
    RecordProps recordProps_;
    std::size_t recordSize_ = 0;
    std::size_t bookmarkSize_ = 0;
    bool canModify_ = false;
    int sequenceMode_ = 0;
    TFilterListItem* exprFilter_ = nullptr;
    TFilterListItem* funcFilter_ = nullptr;
    std::uint16_t keyFieldCount_ = 0;
    std::array<std::uint16_t, 16> keyFields_{};
    bool keyCaseInsensitive_ = false;
    bool expressionIndex_ = false;
    std::vector<FieldDesc> engineFields_;
    std::array<std::vector<Byte>, 6> keyBuffers_;
    int editedKey_ = -1;
    void initKeyBuffer(KeyIndex index);
    std::vector<Byte> block_;
    std::size_t blockRows_ = 0;
    std::size_t blockPos_ = 0;
    bool blockShort_ = false;
    bool cachedUpdates_ = false;
    TDataSetUpdateObject* updateObject_ = nullptr;
    const DelayedUpdateInfo* applying_ = nullptr;
    const Byte* rowOverride_ = nullptr;
    std::exception_ptr handlerFailure_;
    bool updateRefused_ = false;
    std::optional<unsigned> parentMarkSum_;
};

} // namespace accessdb
