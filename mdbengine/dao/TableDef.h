#pragma once

// A table of the database as the catalogue lists it. Linked tables are listed too; they
// live in another file and cannot be opened here.

#include "mdbengine/dao/Errors.h"

#include <cstdint>
#include <memory>
#include <string>

namespace mdbengine {

class TableDef {
public:
    static constexpr std::int32_t systemObject = static_cast<std::int32_t>(0x80000002u);
    static constexpr std::int32_t attachedTable = 0x40000000;
    static constexpr std::int32_t attachedOdbc = 0x20000000;

    TableDef(std::string name, std::int32_t attributes, std::string connect,
             std::string sourceTableName, std::shared_ptr<Errors> errors)
        : name_(std::move(name)), attributes_(attributes), connect_(std::move(connect)),
          sourceTableName_(std::move(sourceTableName)), errors_(std::move(errors)) {}

    const std::string& name() const { return name_; }
    // Changing the design of a database is not supported: 3251.
    Status rename(const std::string&) const {
        return errors_->fail(ErrorNumber::NotSupported, {}, noDesignChanges);
    }
    std::int32_t attributes() const { return attributes_; }
    bool isSystem() const { return (attributes_ & systemObject) != 0; }
    bool isLinked() const { return (attributes_ & (attachedTable | attachedOdbc)) != 0; }
    // Linked tables: ";DATABASE=" and the file, and their name in it.
    const std::string& connect() const { return connect_; }
    const std::string& sourceTableName() const { return sourceTableName_; }

private:
    std::string name_;
    std::int32_t attributes_;
    std::string connect_;
    std::string sourceTableName_;
    std::shared_ptr<Errors> errors_;
};

} // namespace mdbengine
