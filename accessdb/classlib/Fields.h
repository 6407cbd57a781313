#pragma once

// The typed fields. Each holds its value in the engine's exchange form and refuses what
// does not fit: a text longer than the field, a number outside its range.

#include "accessdb/classlib/TField.h"

#include <memory>
#include <vector>

namespace accessdb {

class TStringField : public TField {
public:
    TStringField(const std::string& name, int size, TFieldType type = TFieldType::String)
        : TField(type, name, size) {}
    int dataSize() const override { return size() + 1; }
    Variant value() const override;
    void setValue(const Variant& value) override;
    void setAsString(const std::string& text) override { setText(text); }

private:
    void setText(const std::string& text);
};

// Integers kept in 1, 2, 4 or 8 bytes, checked against the range of their storage.
class TIntegerField : public TField {
public:
    TIntegerField(const std::string& name, TFieldType type = TFieldType::Integer)
        : TField(type, name) {}
    int dataSize() const override;
    Variant value() const override;
    void setValue(const Variant& value) override;
    void setAsString(const std::string& text) override { setInteger(textToInt64(text)); }
    std::int64_t minValue() const;
    std::int64_t maxValue() const;

private:
    void setInteger(std::int64_t value);
};

class TSmallintField : public TIntegerField {
public:
    explicit TSmallintField(const std::string& name) : TIntegerField(name, TFieldType::Smallint) {}
};

class TWordField : public TIntegerField {
public:
    explicit TWordField(const std::string& name) : TIntegerField(name, TFieldType::Word) {}
};

class TAutoIncField : public TIntegerField {
public:
    explicit TAutoIncField(const std::string& name) : TIntegerField(name, TFieldType::AutoInc) {}
};

class TLargeintField : public TIntegerField {
public:
    explicit TLargeintField(const std::string& name) : TIntegerField(name, TFieldType::Largeint) {}
};

class TBooleanField : public TField {
public:
    explicit TBooleanField(const std::string& name) : TField(TFieldType::Boolean, name) {}
    int dataSize() const override { return 2; }
    Variant value() const override;
    void setValue(const Variant& value) override;
};

class TFloatField : public TField {
public:
    TFloatField(const std::string& name, TFieldType type = TFieldType::Float)
        : TField(type, name) {}
    int dataSize() const override { return 8; }
    Variant value() const override;
    void setValue(const Variant& value) override;
};

class TCurrencyField : public TFloatField {
public:
    explicit TCurrencyField(const std::string& name) : TFloatField(name, TFieldType::Currency) {}
};

// Fixed-point decimals of up to 32 digits, `size` of them after the point, in the engine's
// BCD form. A value too large for the precision is refused; further places are rounded.
class TBCDField : public TField {
public:
    TBCDField(const std::string& name, int size) : TField(TFieldType::BCD, name, size) {}
    int precision() const { return precision_; }
    void setPrecision(int precision) { precision_ = precision; }
    int dataSize() const override { return 34; }
    // The number, as near as a double comes; asString gives it exactly.
    Variant value() const override;
    void setValue(const Variant& value) override;

protected:
    std::string textOf(const Variant& value) const override;

private:
    std::string exactText() const;
    int precision_ = 32;
};

// Dates and times. The value is a day count from 30 December 1899 (with the time as its
// fraction); a date-time field keeps it as the engine's timestamp in milliseconds.
class TDateTimeField : public TField {
public:
    TDateTimeField(const std::string& name, TFieldType type = TFieldType::DateTime)
        : TField(type, name) {}
    int dataSize() const override { return 8; }
    Variant value() const override;
    void setValue(const Variant& value) override;

protected:
    std::string textOf(const Variant& value) const override;
};

class TBytesField : public TField {
public:
    TBytesField(const std::string& name, int size, TFieldType type = TFieldType::Bytes)
        : TField(type, name, size) {}
    int dataSize() const override { return size(); }
    Variant value() const override;
    void setValue(const Variant& value) override;
};

// Blobs and memos read and write their whole content through the dataset.
class TBlobField : public TField {
public:
    TBlobField(const std::string& name, int size, TFieldType type = TFieldType::Blob)
        : TField(type, name, size) {}
    int dataSize() const override { return 0; }
    Variant value() const override;
    void setValue(const Variant& value) override;
};

// The field a definition of the type makes (`precision` for BCD fields); none for types
// left out (ADT, array, reference, dataset) and unknown ones.
std::unique_ptr<TField> createField(TFieldType type, const std::string& name, int size,
                                    int precision = 0);

} // namespace accessdb
