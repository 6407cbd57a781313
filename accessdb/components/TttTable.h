#pragma once

#include "accessdb/classlib/TFieldDefs.h"
#include "accessdb/components/TMasterDataLink.h"
#include "accessdb/components/TttDBDataset.h"
#include "accessdb/engine/IndexDesc.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace accessdb {

class TttBlobStream;
enum class BlobStreamMode;

// A table of a database opened by name, with its index chosen by name or by fields, its
// index definitions, a master/detail link and a second cursor for key lookups.
class TttTable : public TttDBDataset {
public:
    TttTable(TComponent* owner, TttSessionlist& sessionList);
    ~TttTable() override;

    const std::string& tableName() const { return tableName_; }
    void setTableName(const std::string& name);
    // One selector holds either an index name or a list of index fields.
    std::string indexName() const { return byFields_ ? std::string() : indexSelector_; }
    void setIndexName(const std::string& name) { selectIndex(name, false); }
    std::string indexFieldNames() const { return byFields_ ? indexSelector_ : std::string(); }
    void setIndexFieldNames(const std::string& names) { selectIndex(names, true); }
    bool defaultIndex() const { return defaultIndex_; }
    void setDefaultIndex(bool on) { defaultIndex_ = on; }
    bool exclusive() const { return exclusive_; }
    void setExclusive(bool on);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on);
    bool storeDefs() const { return storeDefs_; }
    void setStoreDefs(bool on) { storeDefs_ = on; }

    TIndexDefs& indexDefs() { return indexDefs_; }
    void updateIndexDefs();
    // Field definitions from the open cursor, else from the table's field list.
    void initFieldDefs();

    TDataSource* masterSource() const { return masterLink_.dataSource(); }
    void setMasterSource(TDataSource* source);
    const std::string& masterFields() const { return masterLink_.fieldNames(); }
    void setMasterFields(const std::string& names) { masterLink_.setFieldNames(names); }
    void getDetailLinkFields(std::vector<TField*>& masterFields,
                             std::vector<TField*>& detailFields);

    // A second cursor on the table whose index has the key fields; none when there is no
    // such index (or a range is set). Kept for the next lookup with the same fields.
    TBaseTable* getLookupCursor(const std::string& keyFields, bool caseInsensitive);

    // A stream over a blob field of the current record; the caller owns it.
    virtual std::unique_ptr<TttBlobStream> createBlobStream(TField& field, BlobStreamMode mode);
    // A memo or binary field's whole content, as a field's value is set: through a stream
    // that writes it anew.
    void setBlobFieldData(TField& field, const std::string& data) override;

protected:
    TBaseTable* createHandle() override;
    void afterOpenHook() override;
    void closeDataset() override;
    void newRecord() override;
    TBaseTable* lookupCursor(const std::vector<TField*>& fields, bool caseInsensitive) override;

private:
    // The index name and tag the selector stands for.
    void indexParams(std::string& name, std::string& tag);
    void selectIndex(const std::string& text, bool byFields);
    const TIndexDef* indexForFields(const std::string& fields, std::optional<bool> caseInsensitive);
    TIndexDef indexDefOf(const IndexDesc& desc) const;
    std::vector<IndexDesc> readIndexDescs();
    void masterChanged();
    void masterDisabled();
    void closeLookupCursor();

    std::string tableName_;
    std::string indexSelector_;
    bool byFields_ = false;
    bool defaultIndex_ = true;
    bool exclusive_ = false;
    bool readOnly_ = false;
    bool storeDefs_ = false;
    bool indexDefsCurrent_ = false;
    TIndexDefs indexDefs_;
    TMasterDataLink masterLink_;
    TBaseTable* lookupCursor_ = nullptr;
    bool lookupKnown_ = false;
    std::string lookupFields_;
    bool lookupCaseInsensitive_ = false;
};

} // namespace accessdb
