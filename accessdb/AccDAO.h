#pragma once

// The thin wrappers through which the Access driver reaches the DAO engine. Each wrapper
// holds one engine object (its "interface"), passes the driver's 8-bit text and values
// through, and keeps the status of its last call, 0 or 0x800A0000 joined with the DAO
// error number; it never throws. The driver checks that status after every call (its low
// 16 bits are non-zero on failure) and reads the engine's Errors for the texts.
//
// Calls that hand out another object (Item, Fields, OpenRecordset ...) keep their status on
// the wrapper they were made on and always return a new wrapper; after a failure it holds
// no object, and every call on it answers 3420 (object closed) and does nothing.

#include "platform/dao/Collection.h"
#include "platform/dao/DBEngine.h"
#include "platform/dao/Database.h"
#include "platform/dao/Errors.h"
#include "platform/dao/Field.h"
#include "platform/dao/Index.h"
#include "platform/dao/Parameter.h"
#include "platform/dao/QueryDef.h"
#include "platform/dao/Recordset.h"
#include "platform/dao/TableDef.h"
#include "platform/dao/Variant.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace accessdb {

using HResult = std::uint32_t;
using platform::dao::Variant;

class DaoFields;
class DaoIndexes;
class DaoRecordset;

inline constexpr HResult noInterface =
    platform::dao::failure(platform::dao::ErrorNumber::ObjectClosed);

// Any wrapper: the status of its last call.
class DaoUnknown {
public:
    virtual ~DaoUnknown() = default;
    HResult lastResult() const { return lastResult_; }
    virtual bool hasInterface() const = 0;

protected:
    HResult lastResult_ = 0;
};

// A collection: its count and its items by position.
class DaoCollection : public DaoUnknown {
public:
    // Read as a 32-bit count and used as 16 bits.
    virtual std::int16_t count() = 0;
};

// The collections of design objects, which the engine could also append to and delete
// from; the driver does neither.
class DaoDynaCollection : public DaoCollection {};

// Base of the object wrappers. Optional arguments the driver leaves out are passed as
// the omitted-argument value; a numeric option given as -1 counts as left out.
class DaoBase : public DaoUnknown {
public:
    virtual void getName(std::string& name);
    virtual void setName(const std::string& name);
    virtual std::unique_ptr<DaoFields> getFields();
    virtual std::unique_ptr<DaoIndexes> getIndexes();
    // `source` is the table name or SQL text (ignored by a stored query); `type` and
    // `options` are -1 when left out.
    virtual std::unique_ptr<DaoRecordset> openRecordset(const std::string& source, int type,
                                                        int options);

protected:
    const Variant omitted_ = Variant::missing();
};

// A wrapper around one engine object.
template <typename Interface, typename Base = DaoBase>
class DaoWrapper : public Base {
public:
    explicit DaoWrapper(std::shared_ptr<Interface> object) : object_(std::move(object)) {}
    bool hasInterface() const override { return object_ != nullptr; }
    const std::shared_ptr<Interface>& object() const { return object_; }

protected:
    // Runs `call` on the object and keeps its status; without an object, answers 3420.
    template <typename Call>
    HResult invoke(Call call) {
        this->lastResult_ = object_ ? call(*object_) : noInterface;
        return this->lastResult_;
    }

    std::shared_ptr<Interface> object_;
};

// A collection of the engine, its items wrapped one by one.
template <typename Item, typename ItemWrapper, typename Base = DaoDynaCollection>
class DaoItems : public DaoWrapper<platform::dao::Collection<Item>, Base> {
public:
    using DaoWrapper<platform::dao::Collection<Item>, Base>::DaoWrapper;

    std::int16_t count() override {
        std::int32_t count = 0;
        this->invoke([&](auto& collection) {
            count = static_cast<std::int32_t>(collection.count());
            return platform::dao::statusOk;
        });
        return static_cast<std::int16_t>(count);
    }

    std::unique_ptr<ItemWrapper> item(std::int16_t index) {
        std::shared_ptr<Item> element;
        this->invoke([&](auto& collection) {
            return index < 0 ? collection.item(collection.count(), element)
                             : collection.item(static_cast<std::size_t>(index), element);
        });
        return std::make_unique<ItemWrapper>(std::move(element));
    }
};

// An error of the engine's Errors: its DAO number and description.
class DaoError : public DaoWrapper<platform::dao::Error, DaoUnknown> {
public:
    using DaoWrapper::DaoWrapper;
    std::int32_t number();
    std::string description();
};

class DaoErrors : public DaoWrapper<platform::dao::Errors, DaoCollection> {
public:
    using DaoWrapper::DaoWrapper;
    std::int16_t count() override;
    std::unique_ptr<DaoError> item(std::int16_t index);
};

class DaoParameter : public DaoWrapper<platform::dao::Parameter> {
public:
    using DaoWrapper::DaoWrapper;
    void getName(std::string& name) override;
    std::int16_t type();
    void setValue(const Variant& value);
};

class DaoParameters : public DaoItems<platform::dao::Parameter, DaoParameter, DaoCollection> {
public:
    using DaoItems::DaoItems;
};

class DaoIndexField : public DaoWrapper<platform::dao::IndexField> {
public:
    using DaoWrapper::DaoWrapper;
    void getName(std::string& name) override;
    // Bit 1: descending.
    std::int32_t attributes();
};

class DaoIndexFields : public DaoItems<platform::dao::IndexField, DaoIndexField> {
public:
    using DaoItems::DaoItems;
};

class DaoIndex : public DaoWrapper<platform::dao::Index> {
public:
    using DaoWrapper::DaoWrapper;
    void getName(std::string& name) override;
    void setName(const std::string& name) override;
    bool unique();
    bool primary();
    std::unique_ptr<DaoIndexFields> fields();
};

class DaoIndexes : public DaoItems<platform::dao::Index, DaoIndex> {
public:
    using DaoItems::DaoItems;
};

class DaoField : public DaoWrapper<platform::dao::Field> {
public:
    using DaoWrapper::DaoWrapper;
    static constexpr std::int32_t autoIncrementAttribute = 0x10;
    static constexpr std::int32_t updatableAttribute = 0x20;

    void getName(std::string& name) override;
    void setName(const std::string& name) override;
    // The DAO type code.
    std::int16_t type();
    std::int32_t size();
    std::int32_t attributes();
    // Memo and long binary: the length of the current value; the others: their size.
    std::int32_t fieldSize();

    // Typed readers: a value of another type, Null included, reads as 0 or "".
    double asDouble();
    std::uint8_t asByte();
    std::int16_t asInt16();
    std::int32_t asInt32();
    float asSingle();
    bool asBoolean();
    std::int64_t asCurrency(); // ten-thousandths
    double asDate();           // days since 30 December 1899
    std::string asText();
    Variant rawValue();

    void setValue(const Variant& value);

    // Memo: the whole value from `offset` on as text; long binary: the bytes.
    std::string getChunk(std::int32_t offset, std::int32_t bytes);
    void appendChunk(const std::vector<std::uint8_t>& bytes);

private:
    Variant read(Variant::Type type);
};

class DaoFields : public DaoItems<platform::dao::Field, DaoField> {
public:
    using DaoItems::DaoItems;
};

class DaoTableDef : public DaoWrapper<platform::dao::TableDef> {
public:
    using DaoWrapper::DaoWrapper;
    void getName(std::string& name) override;
    void setName(const std::string& name) override;
};

class DaoTableDefs : public DaoItems<platform::dao::TableDef, DaoTableDef> {
public:
    using DaoItems::DaoItems;
};

class DaoQueryDef : public DaoWrapper<platform::dao::QueryDef> {
public:
    using DaoWrapper::DaoWrapper;
    void getName(std::string& name) override;
    void setName(const std::string& name) override;
    std::unique_ptr<DaoFields> getFields() override;
    std::unique_ptr<DaoParameters> parameters();
    std::unique_ptr<DaoRecordset> openRecordset(const std::string& source, int type,
                                                int options) override;
};

class DaoQueryDefs : public DaoItems<platform::dao::QueryDef, DaoQueryDef> {
public:
    using DaoItems::DaoItems;
};

class DaoRecordset : public DaoWrapper<platform::dao::Recordset> {
public:
    using DaoWrapper::DaoWrapper;
    static constexpr std::size_t seekKeys = platform::dao::Recordset::maxSeekKeys;

    void getName(std::string& name) override;
    std::unique_ptr<DaoFields> getFields() override;
    std::unique_ptr<DaoIndexes> getIndexes() override;
    std::int32_t recordCount();
    bool bof();
    bool eof();
    bool noMatch();

    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRecord();
    // Only when an object is held.
    void close();

    std::vector<std::uint8_t> bookmark();
    void setBookmark(const std::vector<std::uint8_t>& bookmark);
    std::vector<std::uint8_t> lastModified();
    void setIndex(const std::string& name);
    // Always 13 keys; those not used are the omitted-argument value.
    void seek(const std::string& comparison, const std::array<Variant, seekKeys>& keys);
    std::int32_t absolutePosition();
    void setAbsolutePosition(std::int32_t position);
};

class DaoDatabase : public DaoWrapper<platform::dao::Database> {
public:
    using DaoWrapper::DaoWrapper;
    void getName(std::string& name) override;
    std::unique_ptr<DaoTableDefs> tableDefs();
    std::unique_ptr<DaoQueryDefs> queryDefs();
    // Only when an object is held.
    void close();
    void execute(const std::string& query);
    std::unique_ptr<DaoRecordset> openRecordset(const std::string& source, int type,
                                                int options) override;
};

// The engine. Creating it cannot fail here, but the marks and failure text of its
// creation are kept for the session, which reports a missing engine.
class DaoEngine : public DaoWrapper<platform::dao::DBEngine> {
public:
    // `version` 30, 35 or 36; `wideInterfaces` as the session asked for them.
    DaoEngine(int version, bool wideInterfaces);

    bool created() const { return created_; }
    bool initialised() const { return initialised_; }
    const std::string& failureText() const { return failureText_; }
    int version() const { return version_; }
    bool wideInterfaces() const { return wideInterfaces_; }

    std::unique_ptr<DaoErrors> errors();
    void idle(std::int32_t action);
    // Options: exclusive (a Boolean), ReadOnly (a Boolean), Connect (text, or omitted).
    std::unique_ptr<DaoDatabase> openDatabase(const std::string& name, const Variant& options,
                                              const Variant& readOnly, const Variant& connect);
    void beginTrans();
    void commitTrans();
    void rollback();

private:
    int version_;
    bool wideInterfaces_;
    bool created_ = false;
    bool initialised_ = false;
    std::string failureText_;
};

} // namespace accessdb
