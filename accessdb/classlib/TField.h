#pragma once

#include "accessdb/classlib/Variant.h"
#include "accessdb/engine/PackedBytes.h"

#include <cstdint>
#include <string>

namespace accessdb {

class TDataSet;

// Data types of the class library, by their ordinals.
enum class TFieldType : int {
    Unknown = 0,
    String = 1,
    Smallint = 2,
    Integer = 3,
    Word = 4,
    Boolean = 5,
    Float = 6,
    Currency = 7,
    BCD = 8,
    Date = 9,
    Time = 10,
    DateTime = 11,
    Bytes = 12,
    VarBytes = 13,
    AutoInc = 14,
    Blob = 15,
    Memo = 16,
    Graphic = 17,
    FmtMemo = 18,
    ParadoxOle = 19,
    DBaseOle = 20,
    TypedBinary = 21,
    Cursor = 22,
    FixedChar = 23,
    WideString = 24,
    Largeint = 25,
    ADT = 26,
    Array = 27,
    Reference = 28,
    DataSet = 29,
};

enum class TFieldKind { Data, Calculated, InternalCalc };

// One column of a dataset. Its value travels in the engine's exchange form through the
// dataset; the typed descendants convert it and check what is assigned.
class TField {
public:
    TField(TFieldType type, const std::string& fieldName, int size = 0);
    virtual ~TField() = default;

    TDataSet* dataSet() const { return dataSet_; }
    void setDataSet(TDataSet* dataSet) { dataSet_ = dataSet; }
    const std::string& fieldName() const { return fieldName_; }
    std::string displayName() const { return fieldName_; }
    TFieldType dataType() const { return dataType_; }
    int size() const { return size_; }
    // The engine field number, 0 for calculated fields.
    int fieldNo() const { return fieldNo_; }
    void setFieldNo(int number) { fieldNo_ = number; }
    TFieldKind fieldKind() const { return kind_; }
    void setFieldKind(TFieldKind kind) { kind_ = kind; }
    bool required() const { return required_; }
    void setRequired(bool required) { required_ = required; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // The bytes the engine keeps for the field (a small integer kept in one byte is a byte).
    int engineLength() const { return engineLength_; }
    void setEngineLength(int length) { engineLength_ = length; }
    const std::string& customConstraint() const { return customConstraint_; }
    void setCustomConstraint(const std::string& text) { customConstraint_ = text; }

    // Bytes of the exchange form.
    virtual int dataSize() const = 0;
    virtual Variant value() const = 0;
    virtual void setValue(const Variant& value) = 0;

    bool isNull() const;
    void clear();
    std::string asString() const;
    virtual void setAsString(const std::string& text) { setValue(Variant(text)); }
    std::int64_t asInteger() const { return value().toInt64(); }
    void setAsInteger(std::int64_t v) { setValue(Variant(v)); }
    double asFloat() const { return value().toDouble(); }
    void setAsFloat(double v) { setValue(Variant(v)); }
    bool asBoolean() const { return value().toBool(); }
    void setAsBoolean(bool v) { setValue(Variant(v)); }

protected:
    // Reads the exchange form; false when the field is blank.
    bool getData(Byte* buffer) const;
    void setData(const Byte* buffer);
    [[noreturn]] void rangeError(double value, double low, double high) const;
    virtual std::string textOf(const Variant& value) const { return value.toString(); }

private:
    TDataSet* dataSet_ = nullptr;
    std::string fieldName_;
    TFieldType dataType_;
    int size_;
    int fieldNo_ = 0;
    TFieldKind kind_ = TFieldKind::Data;
    bool required_ = false;
    bool readOnly_ = false;
    int engineLength_ = 0;
    std::string customConstraint_;
};

} // namespace accessdb
