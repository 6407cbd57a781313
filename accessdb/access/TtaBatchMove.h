#pragma once

#include "accessdb/components/TttBatchMove.h"

namespace accessdb {

class TVirtEng;

// The batch-move component of the Access components.
class TtaBatchMove : public TttBatchMove {
public:
    using TttBatchMove::TttBatchMove;
    TVirtEng* engine() const;
};

} // namespace accessdb
