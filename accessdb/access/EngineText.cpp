#include "accessdb/access/EngineText.h"

#include "mdbengine/values/Windows1252.h"

namespace accessdb {

using mdbengine::Variant;

std::string toEngineText(std::string_view native) {
    return mdbengine::windows1252ToUtf8(native);
}

std::string fromEngineText(std::string_view engine) {
    return mdbengine::utf8ToWindows1252(engine);
}

Variant toEngineValue(const Variant& native) {
    return native.isString() ? Variant::text(toEngineText(native.stringValue())) : native;
}

Variant fromEngineValue(const Variant& engine) {
    return engine.isString() ? Variant::text(fromEngineText(engine.stringValue())) : engine;
}

} // namespace accessdb
