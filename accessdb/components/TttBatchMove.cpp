#include "accessdb/components/TttBatchMove.h"

#include "accessdb/components/TttDBEDataset.h"

namespace accessdb {

void TttBatchMove::setSource(TttDBEDataset* source) {
    if (source_)
        removeFreeNotification(source_);
    source_ = source;
    if (source_)
        freeNotification(source_);
}

void TttBatchMove::setDestination(TttDBEDataset* destination) {
    if (destination_)
        removeFreeNotification(destination_);
    destination_ = destination;
    if (destination_)
        freeNotification(destination_);
}

void TttBatchMove::notification(TComponent* component, Operation operation) {
    TComponent::notification(component, operation);
    if (operation != Operation::Remove)
        return;
    if (component == source_)
        source_ = nullptr;
    if (component == destination_)
        destination_ = nullptr;
}

} // namespace accessdb
