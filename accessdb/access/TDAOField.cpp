#include "accessdb/access/TDAOField.h"

#include "accessdb/access/EngineText.h"

#include <algorithm>

namespace accessdb {

namespace dao = mdbengine;
using dao::Field;

void TDAOField::getName(std::string& name) {
    invoke(property(name, [](const Field& f) { return fromEngineText(f.name()); }));
}

void TDAOField::setName(const std::string& name) {
    invoke([&](Field& f) { return f.rename(toEngineText(name)); });
}

std::int16_t TDAOField::type() {
    std::int16_t type = 0;
    invoke(property(type, [](const Field& f) { return f.type(); }));
    return type;
}

std::int32_t TDAOField::size() {
    std::int32_t size = 0;
    invoke(property(size, [](const Field& f) { return f.size(); }));
    return size;
}

std::int32_t TDAOField::precision() {
    std::int32_t precision = 0;
    invoke(property(precision, [](const Field& f) { return f.precision(); }));
    return precision;
}

std::int32_t TDAOField::scale() {
    std::int32_t scale = 0;
    invoke(property(scale, [](const Field& f) { return f.scale(); }));
    return scale;
}

std::int32_t TDAOField::attributes() {
    std::int32_t attributes = 0;
    invoke(property(attributes, [](const Field& f) { return f.attributes(); }));
    return attributes;
}

// A memo's length is that of its text in the native character set.
std::int32_t TDAOField::fieldSize() {
    std::int32_t size = 0;
    invoke([&](const Field& f) {
        if (f.type() == Field::typeMemo) {
            Variant value;
            dao::Status status = f.value(value);
            size = static_cast<std::int32_t>(fromEngineValue(value).stringValue().size());
            return status;
        }
        if (f.type() == Field::typeLongBinary)
            return f.fieldSize(size);
        size = f.size();
        return dao::statusOk;
    });
    return size;
}

Variant TDAOField::rawValue() {
    Variant value;
    invoke([&](const Field& f) { return f.value(value); });
    return fromEngineValue(value);
}

// The typed readers take only values of their own type.
Variant TDAOField::read(Variant::Type type) {
    Variant value = rawValue();
    return value.type() == type ? value : Variant();
}

double TDAOField::asDouble() {
    return read(Variant::Type::Double).realValue();
}

std::uint8_t TDAOField::asByte() {
    return static_cast<std::uint8_t>(read(Variant::Type::Byte).integerValue());
}

std::int16_t TDAOField::asInt16() {
    return static_cast<std::int16_t>(read(Variant::Type::Integer).integerValue());
}

std::int32_t TDAOField::asInt32() {
    return static_cast<std::int32_t>(read(Variant::Type::Long).integerValue());
}

float TDAOField::asSingle() {
    return static_cast<float>(read(Variant::Type::Single).realValue());
}

bool TDAOField::asBoolean() {
    return read(Variant::Type::Boolean).booleanValue();
}

std::int64_t TDAOField::asCurrency() {
    return read(Variant::Type::Currency).integerValue();
}

double TDAOField::asDate() {
    return read(Variant::Type::Date).realValue();
}

std::string TDAOField::asText() {
    return read(Variant::Type::Text).stringValue();
}

void TDAOField::setValue(const Variant& value) {
    invoke([&](Field& f) { return f.setValue(toEngineValue(value)); });
}

// A memo's part is counted in the native character set: the text is converted whole.
std::string TDAOField::getChunk(std::int32_t offset, std::int32_t bytes) {
    Variant chunk;
    invoke([&](const Field& f) {
        if (f.type() != Field::typeMemo || offset < 0 || bytes < 0)
            return f.getChunk(offset, bytes, chunk);
        Variant whole;
        dao::Status status = f.value(whole);
        std::string text = fromEngineValue(whole).stringValue();
        auto from = std::min(text.size(), static_cast<std::size_t>(offset));
        chunk = Variant::text(text.substr(from, static_cast<std::size_t>(bytes)));
        return status;
    });
    return chunk.stringValue();
}

void TDAOField::appendChunk(const std::vector<std::uint8_t>& bytes) {
    invoke([&](Field& f) {
        return f.appendChunk(Variant::bytes(std::string(bytes.begin(), bytes.end())));
    });
}

} // namespace accessdb
