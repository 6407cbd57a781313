#pragma once

#include "accessdb/classlib/TCollection.h"
#include "accessdb/classlib/TField.h"

#include <string>

namespace accessdb {

// What a dataset's field will be: made from the engine's field descriptors.
struct TFieldDef {
    std::string name;
    TFieldType dataType = TFieldType::Unknown;
    int size = 0;
    int precision = 0;
    int fieldNo = 0;
    int engineLength = 0;
    bool required = false;
    bool readOnly = false;
    bool internalCalc = false;
    bool hidden = false;
    bool fixedChar = false;
};

class TFieldDefs : public TCollection<TFieldDef> {
public:
    // The definition so named (letter case aside), or none.
    TFieldDef* find(const std::string& name) const;
};

struct TIndexDef {
    std::string name;
    std::string source;
    std::string fields;
    std::string descFields;
    bool primary = false;
    bool unique = false;
    bool descending = false;
    bool caseInsensitive = false;
    bool expression = false;
    bool nonMaintained = false;
};

class TIndexDefs : public TCollection<TIndexDef> {
public:
    TIndexDef* find(const std::string& name) const;
};

} // namespace accessdb
