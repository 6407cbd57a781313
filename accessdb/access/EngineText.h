#pragma once

// The engine's text is Unicode (UTF-8), as DAO's is; the driver's is the program's native
// character set, Windows-1252. Names, statements and text values are converted where they
// cross, as the driver converted DAO's strings: a character the code page lacks reads as "?".
// Paths are the system's bytes and cross as they are.

#include "mdbengine/values/Variant.h"

#include <string>
#include <string_view>

namespace accessdb {

std::string toEngineText(std::string_view native);
std::string fromEngineText(std::string_view engine);

// Text values converted; the others as they are.
mdbengine::Variant toEngineValue(const mdbengine::Variant& native);
mdbengine::Variant fromEngineValue(const mdbengine::Variant& engine);

} // namespace accessdb
