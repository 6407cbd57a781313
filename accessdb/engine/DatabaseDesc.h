#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <string>

namespace accessdb {

// A database as the engine lists and opens it (357 bytes packed).
struct DatabaseDesc {
    static constexpr std::size_t Size = 357;
    static constexpr std::size_t NameOffset = 0, NameSize = 32;
    static constexpr std::size_t TextOffset = 32, TextSize = 32;
    static constexpr std::size_t PhysicalOffset = 64, PhysicalSize = 261;
    static constexpr std::size_t TypeOffset = 325, TypeSize = 32;
    static_assert(TypeOffset + TypeSize == Size);

    std::string name;         // at most 31 characters
    std::string description;  // at most 31
    std::string physicalName; // at most 260
    std::string dbType;       // at most 31

    void pack(Byte* p) const {
        putText(p, NameOffset, NameSize, name);
        putText(p, TextOffset, TextSize, description);
        putText(p, PhysicalOffset, PhysicalSize, physicalName);
        putText(p, TypeOffset, TypeSize, dbType);
    }
    static DatabaseDesc unpack(const Byte* p) {
        return {getText(p, NameOffset, NameSize), getText(p, TextOffset, TextSize),
                getText(p, PhysicalOffset, PhysicalSize), getText(p, TypeOffset, TypeSize)};
    }
};

} // namespace accessdb
