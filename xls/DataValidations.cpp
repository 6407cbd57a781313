#include "xls/DataValidations.h"

#include "xls/FormulaEncoder.h"
#include "xls/RecordCursor.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

namespace xls {

namespace {

constexpr size_t ExpressionCapacity = 512;
// The option bits of the type, the error style and the operator.
constexpr uint32_t NamedOptions = 0x00F0007F;

void putWord(std::string& out, size_t value) {
    if (value > 0xFFFF)
        throw RangeError();
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void putDword(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A text of the record as a flagged string: a character count, an option byte and the
// characters.
std::string takeFlagged(RecordCursor& in) {
    size_t count = in.takeU16();
    uint8_t option = in.takeU8();
    if (option > 1)
        throw XlsError("Unhandled string in DV");
    std::string flagged(1, static_cast<char>(option));
    flagged.append(in.take(option ? 2 * count : count));
    return flagged;
}

// Writers store an empty text as the one character NUL, which reads back as empty.
std::string textOf(std::string_view flagged) {
    std::string text = fromXlsString(flagged);
    return text == std::string(1, '\0') ? std::string() : text;
}

void putText(std::string& out, std::string_view text, std::string_view asRead, bool unicode) {
    std::string flagged = !asRead.empty() && textOf(asRead) == text ? std::string(asRead)
                          : text.empty()                            ? std::string(2, '\0')
                                                                    : toXlsString(text, unicode);
    putWord(out, xlsStringCount(flagged));
    out += flagged;
}

} // namespace

std::string DataValidation::decoded(const std::string& tokens) const {
    if (tokens.empty())
        return {};
    return decodeFormulaTokens(ExcelVersion::Excel97, tokens, tokens.size(), owner_->nameText);
}

std::string DataValidation::encoded(std::string_view text) {
    FormulaEncoder encoder;
    return std::string(encoder.encode(text, ExpressionCapacity).tokens());
}

void DataValidation::readRecord(std::string_view body) {
    RecordCursor in(body);
    uint32_t flags = in.takeU32();
    // Values outside the named ones are kept, so that they are written back as read.
    type = static_cast<ValidationType>(flags & 0x0F);
    style = static_cast<ValidationStyle>((flags >> 4) & 0x07);
    op = static_cast<ValidationOperator>((flags >> 20) & 0x0F);
    otherOptions = flags & ~NamedOptions;
    std::string* texts[] = {&inputTitle, &errorTitle, &inputMessage, &errorMessage};
    for (size_t i = 0; i < textsAsRead_.size(); ++i) {
        textsAsRead_[i] = takeFlagged(in);
        *texts[i] = textOf(textsAsRead_[i]);
    }
    size_t size1 = in.takeU16();
    formulaWords_[0] = in.takeU16();
    tokens1_ = in.take(size1);
    size_t size2 = in.takeU16();
    formulaWords_[1] = in.takeU16();
    tokens2_ = in.take(size2);
    size_t areaCount = in.takeU16();
    if (areaCount > 4095)
        areaCount = 0;
    areas.clear();
    for (size_t i = 0; i < areaCount; ++i) {
        ValidationArea area;
        area.row1 = in.takeU16();
        area.row2 = in.takeU16();
        area.col1 = in.takeU16();
        area.col2 = in.takeU16();
        areas.push_back(area);
    }
}

std::string DataValidation::recordBody(bool unicode) const {
    std::string body;
    putDword(body, (otherOptions & ~NamedOptions) | (static_cast<uint32_t>(type) & 0x0F) |
                       ((static_cast<uint32_t>(style) & 0x07) << 4) |
                       ((static_cast<uint32_t>(op) & 0x0F) << 20));
    const std::string* texts[] = {&inputTitle, &errorTitle, &inputMessage, &errorMessage};
    for (size_t i = 0; i < textsAsRead_.size(); ++i)
        putText(body, *texts[i], textsAsRead_[i], unicode);
    const std::string* tokens[] = {&tokens1_, &tokens2_};
    for (size_t i = 0; i < 2; ++i) {
        putWord(body, tokens[i]->size());
        putWord(body, formulaWords_[i]);
        body += *tokens[i];
    }
    putWord(body, areas.size());
    for (const ValidationArea& area : areas) {
        putWord(body, area.row1);
        putWord(body, area.row2);
        putWord(body, area.col1);
        putWord(body, area.col2);
    }
    return body;
}

} // namespace xls
