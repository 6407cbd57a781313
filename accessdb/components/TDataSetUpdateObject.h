#pragma once

// What applies a data set's cached changes in its own way (with SQL statements of its own,
// say): the data set hands it each change while its cached updates are applied. An update
// object serves one data set at a time; binding it to another unbinds it from the first,
// and either going unbinds the other.

namespace accessdb {

class TttDBEDataset;

enum class UpdateKind { Modify, Insert, Delete };
// What becomes of one cached change: it failed (the applying raises), stop applying, leave
// it pending, try it again (after a refusal), or it is applied.
enum class UpdateAction { Fail, Abort, Skip, Retry, Applied };

class TDataSetUpdateObject {
public:
    virtual ~TDataSetUpdateObject();

    TttDBEDataset* dataSet() const { return dataSet_; }
    void setDataSet(TttDBEDataset* dataSet);
    // Applies the change the data set stands on while it applies its cached updates; its
    // old and new values are the data set's oldValue and newValue.
    virtual void apply(UpdateKind kind) = 0;

private:
    friend class TttDBEDataset;
    TttDBEDataset* dataSet_ = nullptr;
};

} // namespace accessdb
