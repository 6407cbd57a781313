#include "accessdb/access/TDAOEngine.h"

#include "accessdb/access/EngineText.h"

namespace accessdb {

namespace dao = mdbengine;
using dao::DBEngine;

namespace {

bool booleanArgument(const Variant& value) {
    return value.type() == Variant::Type::Boolean && value.booleanValue();
}

} // namespace

TDAOEngine::TDAOEngine(int version, bool wideInterfaces)
    : DaoInterface(std::make_shared<DBEngine>()), version_(version),
      wideInterfaces_(wideInterfaces), created_(true), initialised_(true) {}

std::unique_ptr<TDAOErrors> TDAOEngine::errors() {
    std::shared_ptr<dao::Errors> errors;
    invoke(property(errors, [](const DBEngine& e) { return e.errors(); }));
    return std::make_unique<TDAOErrors>(std::move(errors));
}

void TDAOEngine::idle(std::int32_t action) {
    invoke([&](DBEngine& e) { return e.idle(action); });
}

std::unique_ptr<TDAODatabase> TDAOEngine::openDatabase(const std::string& name,
                                                       const Variant& options,
                                                       const Variant& readOnly,
                                                       const Variant& connect) {
    std::shared_ptr<dao::Database> database;
    std::string connectText =
        connect.isString() ? toEngineText(connect.stringValue()) : std::string();
    invoke([&](DBEngine& e) {
        return e.openDatabase(name, booleanArgument(options), booleanArgument(readOnly),
                              connectText, database);
    });
    return std::make_unique<TDAODatabase>(std::move(database));
}

void TDAOEngine::beginTrans() {
    invoke([](DBEngine& e) { return e.beginTrans(); });
}

void TDAOEngine::commitTrans() {
    invoke([](DBEngine& e) { return e.commitTrans(); });
}

void TDAOEngine::rollback() {
    invoke([](DBEngine& e) { return e.rollback(); });
}

} // namespace accessdb
