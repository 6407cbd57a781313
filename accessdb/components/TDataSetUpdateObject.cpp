#include "accessdb/components/TDataSetUpdateObject.h"

#include "accessdb/components/TttDBEDataset.h"

namespace accessdb {

TDataSetUpdateObject::~TDataSetUpdateObject() {
    setDataSet(nullptr);
}

void TDataSetUpdateObject::setDataSet(TttDBEDataset* dataSet) {
    if (dataSet)
        dataSet->setUpdateObject(this);
    else if (dataSet_)
        dataSet_->setUpdateObject(nullptr);
}

} // namespace accessdb
