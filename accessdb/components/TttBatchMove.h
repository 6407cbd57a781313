#pragma once

#include "accessdb/classlib/TComponent.h"
#include "accessdb/classlib/TStringList.h"

#include <string>
#include <vector>

namespace accessdb {

class TttDBEDataset;

// The batch-move component: its settings only (it moves nothing).
class TttBatchMove : public TComponent {
public:
    explicit TttBatchMove(TComponent* owner) : TComponent(owner) {}

    bool abortOnKeyViol = true;
    bool abortOnProblem = true;
    bool transliterate = true;
    int commitCount = 0;
    int mode = 0;
    int recordCount = 0;
    std::string changedTableName;
    std::string keyViolTableName;
    std::string problemTableName;
    TStringList& mappings() { return mappings_; }
    void setMappings(const std::vector<std::string>& lines) { mappings_.assign(lines); }

    TttDBEDataset* source() const { return source_; }
    void setSource(TttDBEDataset* source);
    TttDBEDataset* destination() const { return destination_; }
    void setDestination(TttDBEDataset* destination);

protected:
    void notification(TComponent* component, Operation operation) override;

private:
    TStringList mappings_;
    TttDBEDataset* source_ = nullptr;
    TttDBEDataset* destination_ = nullptr;
};

} // namespace accessdb
