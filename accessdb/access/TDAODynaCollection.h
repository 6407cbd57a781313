#pragma once

#include "accessdb/access/TDAOCollection.h"

namespace accessdb {

// The collections of design objects, which the engine could also append to and delete
// from; the driver does neither.
class TDAODynaCollection : public TDAOCollection {};

} // namespace accessdb
