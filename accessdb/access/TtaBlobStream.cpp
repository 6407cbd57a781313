#include "accessdb/access/TtaBlobStream.h"

#include "accessdb/access/AccessComponents.h"

namespace accessdb {

TVirtEng* TtaBlobStream::engine() const {
    return AccessEngineObject();
}

} // namespace accessdb
