#include "xls/AreaNames.h"

#include "xls/FormulaEncoder.h"
#include "xls/NameDefs.h"
#include "xls/XlsError.h"

#include <algorithm>
#include <cctype>

namespace xls {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

} // namespace

AreaName::AreaName(AreaNames& owner, int id)
    : owner_(owner), areaName_("Area" + std::to_string(id + 1)) {}

void AreaName::setAreaName(std::string_view text) {
    if (options != 0)
        return;
    if (trimmed(text).empty())
        throw XlsError("Name is missing");
    for (size_t i = 0; i < owner_.count(); ++i) {
        const AreaName& other = owner_.item(i);
        if (&other != this && equalIgnoringCase(other.areaName(), text))
            throw XlsError("There is allready an area named \"" + std::string(text) + "\"");
    }
    areaName_ = text;
}

std::string AreaName::nameDef() const {
    if (tokens_.empty())
        return {};
    return decodeFormulaTokens(ExcelVersion::Excel97, tokens_, tokenLength_, owner_.nameText);
}

void AreaName::setNameDef(std::string_view text) {
    if (!owner_.encoder)
        throw XlsError("No formula encoder for area names");
    FormulaEncoder encoder = *owner_.encoder;
    encoder.version = ExcelVersion::Excel97; // definitions are kept as BIFF8 tokens
    EncodedFormula encoded = encoder.encode(text, AreaNames::DefinitionCapacity);
    setDefinitionTokens(encoded.bytes, encoded.tokenLength);
}

void AreaName::setDefinitionTokens(std::string_view tokens, size_t tokenLength) {
    tokens_ = tokens;
    tokenLength_ = std::min(tokenLength, tokens.size());
    if (linkedName >= 0 && owner_.nameDefs &&
        static_cast<size_t>(linkedName) < owner_.nameDefs->nameCount())
        owner_.nameDefs->name(static_cast<size_t>(linkedName))
            .setFormula(tokens.substr(0, tokenLength_), tokens.substr(tokenLength_));
}

AreaName& AreaNames::add() {
    return items_.emplace_back(*this, nextId_++);
}

AreaName* AreaNames::findByName(std::string_view text) {
    int index = indexOfName(text);
    return index < 0 ? nullptr : &items_[static_cast<size_t>(index)];
}

int AreaNames::indexOfName(std::string_view text) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (equalIgnoringCase(items_[i].areaName(), text))
            return static_cast<int>(i);
    return -1;
}

} // namespace xls
