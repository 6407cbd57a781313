#pragma once

#include "accessdb/classlib/Fields.h"
#include "accessdb/classlib/TComponent.h"
#include "accessdb/classlib/TFieldDefs.h"
#include "accessdb/classlib/TStringList.h"
#include "accessdb/classlib/Variant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace accessdb {

class TDataSource;

enum class TDataSetState {
    Inactive,
    Browse,
    Edit,
    Insert,
    SetKey,
    CalcFields,
    Filter,
    NewValue,
    OldValue,
    CurValue,
    BlockRead,
    InternalCalc,
};

enum class FetchMode { Current, Next, Prior };
enum class FetchResult { Ok, Beginning, End, Error };
enum class BookmarkFlag : Byte { Current = 0, BOF = 1, EOF_ = 2, Inserted = 3 };
enum class UpdateStatus : Byte { Unmodified = 0, Modified = 1, Inserted = 2, Deleted = 3 };

// Events a dataset sends to its data links.
enum class DataEvent {
    FieldChange,
    RecordChange,
    DataSetChange,
    DataSetScroll,
    LayoutChange,
    UpdateRecord,
    UpdateState,
    CheckBrowseMode,
    PropertyChange,
    FieldListChange,
    FocusControl,
    ParentScroll,
};

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false;
};

struct FilterOptions {
    bool caseInsensitive = false;
    bool noPartialCompare = false;
};

using Bookmark = std::vector<Byte>;

// The dataset core: states, one active row (and a scratch row), the fields, navigation,
// editing, bookmarks, filters and locating. A concrete dataset supplies the row operations
// (fetch, post, delete, field data) over its cursor.
//
// Moving posts a pending edit (or cancels an unmodified one), and editing an empty dataset
// starts an insert.
class TDataSet : public TComponent {
public:
    using Event = std::function<void(TDataSet&)>;
    using FilterRecordEvent = std::function<void(TDataSet&, bool& accept)>;

    explicit TDataSet(TComponent* owner);
    ~TDataSet() override;

    // Opening and closing.
    void open();
    void close();
    bool active() const { return state_ != TDataSetState::Inactive; }
    void setActive(bool active);
    TDataSetState state() const { return state_; }

    // Navigation.
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return empty_; }
    int recordCount();

    // Editing.
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void deleteRecord();
    void checkBrowseMode();
    bool modified() const { return modified_; }
    UpdateStatus updateStatus() const;

    // Bookmarks.
    Bookmark getBookmark() const;
    void gotoBookmark(const Bookmark& bookmark);
    bool bookmarkValid(const Bookmark& bookmark);
    int compareBookmarks(const Bookmark& a, const Bookmark& b);

    // Fields.
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    TField& fields(int index) const;
    TField* findField(const std::string& name) const;
    TField& fieldByName(const std::string& name) const;
    // A field made by the program before opening (a calculated one, say); the dataset owns
    // it.
    TField& addField(std::unique_ptr<TField> field);
    TFieldDefs& fieldDefs() { return fieldDefs_; }
    std::vector<std::string>& constraints() { return constraints_; }

    // Filters.
    const std::string& filter() const { return filterText_; }
    void setFilter(const std::string& text);
    bool filtered() const { return filtered_; }
    void setFiltered(bool filtered);
    const FilterOptions& filterOptions() const { return filterOptions_; }
    void setFilterOptions(const FilterOptions& options);
    void setOnFilterRecord(FilterRecordEvent event);
    const FilterRecordEvent& onFilterRecord() const { return onFilterRecord_; }

    // Finding the first, next, prior or last record that passes the filters, whether or not
    // the data set is filtered; false when there is none.
    bool findFirst() { return findRow(true, true); }
    bool findNext() { return findRow(false, true); }
    bool findPrior() { return findRow(false, false); }
    bool findLast() { return findRow(true, false); }
    // Reads the rows again from the cursor, which reads its records again.
    void refresh();

    // Nested data sets follow this one: each is told when it scrolls. A data set that goes
    // leaves its parent and its nested ones.
    void addNestedDataSet(TDataSet* nested);
    void removeNestedDataSet(TDataSet* nested);
    TDataSet* parentDataSet() const { return parent_; }

    // Locating: fields named "A;B", one value each.
    bool locate(const std::string& keyFields, const std::vector<Variant>& values,
                LocateOptions options = {});
    Variant lookup(const std::string& keyFields, const std::vector<Variant>& values,
                   const std::string& resultField);

    int blockReadSize() const { return blockReadSize_; }
    void setBlockReadSize(int size);
    bool autoCalcFields = true;

    // Data links.
    void addDataSource(TDataSource* source);
    void removeDataSource(TDataSource* source);
    void dataEvent(DataEvent event, std::intptr_t info = 0);

    Event beforeOpen, afterOpen, beforeClose, afterClose, beforeInsert, afterInsert, beforeEdit,
        afterEdit, beforePost, afterPost, beforeCancel, afterCancel, beforeDelete, afterDelete,
        beforeScroll, afterScroll, onCalcFields, onNewRecord;
    std::function<void(TDataSet&, const std::exception&)> onPostError, onEditError, onDeleteError;

    // What the fields use: the exchange form of a field in the row the state picks.
    virtual bool getFieldData(TField& field, Byte* buffer) = 0;
    virtual void setFieldData(TField& field, const Byte* buffer) = 0;
    virtual std::string getBlobFieldData(TField& field);
    virtual void setBlobFieldData(TField& field, const std::string& data);
    void fieldChanged(TField& field);
    [[noreturn]] void databaseError(const std::string& message) const;
    void checkActive() const;
    void checkInactive() const;

protected:
    // The concrete dataset's row operations.
    virtual void openDataset() = 0;  // opens the cursor and fills the field definitions
    virtual void afterLayout() {}    // buffers are laid out and fields bound
    virtual void opened() {}         // browsing, before the first row is fetched
    virtual void closeDataset() = 0; // closes the cursor
    virtual std::size_t engineRecordSize() const = 0;
    virtual std::size_t bookmarkSize() const = 0;
    virtual FetchResult fetchRow(Byte* buffer, FetchMode mode, bool reportErrors) = 0;
    virtual void cursorToStart() = 0;
    virtual void cursorToEnd() = 0;
    virtual void initRowBuffer(Byte* buffer) = 0;
    virtual void beginRowEdit(Byte* buffer) = 0;
    virtual void beginRowInsert() = 0;
    virtual void postRow(Byte* buffer) = 0;
    virtual void deleteRow() = 0;
    virtual void cancelRowEdit() = 0;
    virtual void gotoRowBookmark(const Byte* bookmark) = 0;
    virtual bool isRowBookmarkValid(const Byte* bookmark) = 0;
    virtual int compareRowBookmarks(const Byte* a, const Byte* b) = 0;
    virtual int rowCount() = 0;
    // Positions the cursor on the first row whose fields hold the values; the row lands in
    // the buffer.
    virtual bool locateRow(const std::vector<TField*>& fields, const std::vector<Variant>& values,
                           LocateOptions options, Byte* buffer) = 0;
    // Ends editing a key (set-key state): post keeps the edited key, cancel restores it.
    virtual void endKeyEdit(bool /*post*/) { setState(TDataSetState::Browse); }
    // Whether an edited row reads back exactly as posted (then it is not read again).
    virtual bool postKeepsRow() const { return true; }
    virtual void filterChanged() {}
    // One step from the start (restart) or the current row, forward or backward, over the
    // rows the filters pass; the cursor stands on the row found.
    virtual bool findRecord(bool /*restart*/, bool /*forward*/) { return false; }
    virtual void refreshRows() {}
    // The parent data set scrolled (a parent-scroll data event).
    virtual void parentScrolled() {}
    virtual void blockReadChanged() {}
    // Fills a new row: the OnNewRecord event (a linked detail first copies its master's
    // values).
    virtual void newRecord() {
        if (onNewRecord)
            onNewRecord(*this);
    }

    // Row layout: engine record, calculated fields, row information, bookmark.
    Byte* activeBuffer() { return active_.data(); }
    Byte* scratchBuffer() { return scratch_.data(); }
    std::size_t rowBufferSize() const { return active_.size(); }
    void setRowInfo(Byte* buffer, std::int32_t recNo, UpdateStatus status, BookmarkFlag flag);
    UpdateStatus rowUpdateStatus(const Byte* buffer) const;
    std::int32_t rowRecNo(const Byte* buffer) const { return getI32(buffer, infoOffset_); }
    BookmarkFlag rowBookmarkFlag(const Byte* buffer) const;
    Byte* rowBookmark(Byte* buffer) const { return buffer + bookmarkOffset_; }
    Byte* calcArea(Byte* buffer) const { return buffer + calcOffset_; }
    std::size_t calcOffsetOf(const TField& field) const;
    // The row the state reads fields from (none when there is none).
    virtual Byte* currentRowBuffer();
    void setState(TDataSetState state);
    void setFilterRow(Byte* row) { filterRow_ = row; }
    Byte* filterRow() const { return filterRow_; }
    void markCursorMoved() { cursorPosChanged_ = true; }
    // Re-reads the active row after the cursor moved under it.
    void resync();
    // Puts the cursor back on the active row when it moved away.
    void syncCursor();
    void computeCalcFields(Byte* buffer);
    // Runs the OnFilterRecord event for a row offered by the cursor.
    bool runFilterRecord(Byte* record);
    bool empty_ = true;

private:
    void openInternal();
    void createDefaultFields();
    void layoutBuffers();
    void openAtEnd(bool last);
    void step(bool backward);
    bool fetchInto(FetchMode mode, bool reportErrors = true);
    void afterPostOrCancel();
    std::vector<TField*> fieldList(const std::string& names) const;
    bool findRow(bool restart, bool forward);
    // After a move: the scroll event, and the nested data sets told.
    void scrolled();
    void runEvent(const Event& event) {
        if (event)
            event(*this);
    }

    TDataSetState state_ = TDataSetState::Inactive;
    std::vector<std::unique_ptr<TField>> fields_;
    std::size_t persistentFields_ = 0;
    TFieldDefs fieldDefs_;
    std::vector<std::string> constraints_;
    std::vector<Byte> active_;
    std::vector<Byte> scratch_;
    std::vector<Byte> backup_;
    bool backupValid_ = false;
    std::size_t calcOffset_ = 0;
    bool hasCalcFields_ = false;
    std::size_t infoOffset_ = 0;
    std::size_t bookmarkOffset_ = 0;
    bool eof_ = true;
    bool bof_ = true;
    bool modified_ = false;
    bool cursorPosChanged_ = false;
    Byte* filterRow_ = nullptr;
    Byte* calcRow_ = nullptr;
    std::string filterText_;
    bool filtered_ = false;
    FilterOptions filterOptions_;
    FilterRecordEvent onFilterRecord_;
    int blockReadSize_ = 0;
    std::vector<TDataSource*> dataSources_;
    std::vector<TDataSet*> nested_;
    TDataSet* parent_ = nullptr;
};

// The link between a dataset and the controls or datasets that follow it.
class TDataLink;

class TDataSource : public TComponent {
public:
    explicit TDataSource(TComponent* owner) : TComponent(owner) {}
    ~TDataSource() override;
    TDataSet* dataSet() const { return dataSet_; }
    void setDataSet(TDataSet* dataSet);
    void addLink(TDataLink* link);
    void removeLink(TDataLink* link);
    void notifyLinks(DataEvent event, std::intptr_t info);

protected:
    void notification(TComponent* component, Operation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
    std::vector<TDataLink*> links_;
};

class TDataLink {
public:
    virtual ~TDataLink();
    TDataSource* dataSource() const { return dataSource_; }
    void setDataSource(TDataSource* source);
    TDataSet* dataSet() const { return dataSource_ ? dataSource_->dataSet() : nullptr; }
    bool active() const { return dataSet() && dataSet()->active(); }
    virtual void dataEvent(DataEvent event, std::intptr_t info);

protected:
    virtual void activeChanged() {}
    virtual void recordChanged(TField*) {}
    virtual void dataSetChanged() {}
    virtual void dataSetScrolled() {}

private:
    TDataSource* dataSource_ = nullptr;
};

} // namespace accessdb
