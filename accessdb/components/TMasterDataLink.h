#pragma once

#include "accessdb/classlib/TDataSet.h"

#include <functional>
#include <string>
#include <vector>

namespace accessdb {

// The link from a detail dataset to its master: the master's fields named by a
// ";"-separated list, and the detail's handlers for a master that moved or went inactive.
class TMasterDataLink : public TDataLink {
public:
    const std::string& fieldNames() const { return fieldNames_; }
    void setFieldNames(const std::string& names);
    // The master's fields, found when the link is active.
    const std::vector<TField*>& fields() const { return fields_; }

    std::function<void()> onMasterChange;
    std::function<void()> onMasterDisable;

protected:
    void activeChanged() override;
    void recordChanged(TField* field) override;
    void dataSetChanged() override { masterChanged(); }
    void dataSetScrolled() override { masterChanged(); }

private:
    void findFields();
    void masterChanged();

    std::string fieldNames_;
    std::vector<TField*> fields_;
};

} // namespace accessdb
