#include "accessdb/components/ComponentPlatform.h"

namespace accessdb {

ComponentPlatform& componentPlatform() {
    static ComponentPlatform hooks;
    return hooks;
}

} // namespace accessdb
