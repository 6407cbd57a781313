#include "accessdb/engine/EngineParams.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineText.h"

#include <cstring>

namespace accessdb {

void EngineParams::add(const std::string& name, const std::string& value) {
    FieldDesc d;
    d.fieldNumber = checked16(descs.size() + 1);
    d.setName(name);
    d.type = fldtype::ZSTRING;
    d.offset = checked16(values.size());
    d.length = checked16(value.size() + 1);
    descs.push_back(d);
    values.insert(values.end(), value.begin(), value.end());
    values.push_back(0);
}

std::string EngineParams::valueAt(std::size_t index) const {
    const FieldDesc& d = descs.at(index);
    if (d.offset >= values.size())
        return {};
    return getText(values.data(), d.offset, values.size() - d.offset);
}

int EngineParams::find(const std::string& name, bool exact) const {
    for (std::size_t i = 0; i < descs.size(); ++i)
        if (exact ? descs[i].name == name : equalsIgnoreCase(descs[i].name, name))
            return static_cast<int>(i);
    return -1;
}

std::optional<std::string> EngineParams::value(const std::string& name, bool exact) const {
    int index = find(name, exact);
    if (index < 0)
        return std::nullopt;
    return valueAt(static_cast<std::size_t>(index));
}

void EngineParams::setValueAt(std::size_t index, const std::string& value) {
    const FieldDesc& d = descs.at(index);
    if (d.offset >= values.size() || d.length == 0)
        return;
    std::size_t room = std::min<std::size_t>(d.length, values.size() - d.offset);
    putText(values.data(), d.offset, room, value);
}

} // namespace accessdb
