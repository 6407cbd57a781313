#include "accessdb/access/TtaDatabase.h"

#include "accessdb/access/AccessComponents.h"
#include "accessdb/access/TtaSessionList.h"

namespace accessdb {

TtaDatabase::TtaDatabase(TComponent* owner) : TttDatabase(owner, AccessSessionList()) {}

} // namespace accessdb
