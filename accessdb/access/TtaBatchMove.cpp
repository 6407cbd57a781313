#include "accessdb/access/TtaBatchMove.h"

#include "accessdb/access/AccessComponents.h"

namespace accessdb {

TVirtEng* TtaBatchMove::engine() const {
    return AccessEngineObject();
}

} // namespace accessdb
