#pragma once

#include "xls/FormulaDecoder.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace xls {

class AreaNames;
class FormulaEncoder;
class NameDefs;

// A user-visible defined name: its text and its definition, kept as BIFF8 tokens.
class AreaName {
public:
    AreaName(AreaNames& owner, int id);

    const std::string& areaName() const { return areaName_; }
    // Only for a plain user name (options 0): an empty text raises "Name is missing", one
    // another name has (ignoring case) raises "There is allready an area named" and the name.
    void setAreaName(std::string_view text);
    // The definition as formula text; empty without tokens.
    std::string nameDef() const;
    // Encodes the text into at most 512 bytes of tokens.
    void setNameDef(std::string_view text);
    // The tokens (the first tokenLength bytes, all when npos) and the data of their array
    // constants; also replaces the tokens of the workbook name it came from.
    void setDefinitionTokens(std::string_view bytes, size_t tokenLength = std::string_view::npos);

    const std::string& tokens() const { return tokens_; }
    size_t tokenLength() const { return tokenLength_; }
    uint16_t options = 0;
    uint16_t tabIndex = 0;
    int linkedName = -1; // index of the workbook name it came from, -1 for none

private:
    AreaNames& owner_;
    std::string areaName_;
    std::string tokens_;
    size_t tokenLength_ = 0;
};

class AreaNames {
public:
    static constexpr size_t DefinitionCapacity = 512;

    AreaName& add();
    AreaName& item(size_t index) { return items_.at(index); }
    const AreaName& item(size_t index) const { return items_.at(index); }
    size_t count() const { return items_.size(); }
    void clear() { items_.clear(); }
    AreaName* findByName(std::string_view text);
    int indexOfName(std::string_view text) const;

    // Set by the workbook: the encoder of definitions, the texts of names in decoded
    // definitions, and the workbook names that area names link to.
    const FormulaEncoder* encoder = nullptr;
    NameTextCallback nameText;
    NameDefs* nameDefs = nullptr;

private:
    std::deque<AreaName> items_; // a deque: items stay where they are as the list grows
    int nextId_ = 0;
};

} // namespace xls
