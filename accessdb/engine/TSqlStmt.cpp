#include "accessdb/engine/TSqlStmt.h"

#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/TBaseDatabase.h"
#include "accessdb/engine/TBaseSession.h"

namespace accessdb {

TSqlStmt::TSqlStmt(TBaseDatabase* database, TTorvaneCollection* collection, const std::string& text,
                   int language)
    : TBapiListItem(database, collection), language_(language) {
    TSqlStmt::setSQL(text);
}

TSqlStmt::~TSqlStmt() = default;

TBaseDatabase* TSqlStmt::database() const {
    return static_cast<TBaseDatabase*>(owner());
}

void TSqlStmt::setSQL(const std::string& text) {
    TBaseDatabase* db = database();
    TBaseSession* session = db ? db->session() : nullptr;
    sqlText_ = session ? session->ansiToNative(text) : text;
}

void TSqlStmt::getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                       std::uint16_t maxLen) {
    size = 0;
    switch (propId & 0xFFFF) {
    case 1:
        size = 2;
        if (buffer)
            putU16(buffer, 0, 32);
        return;
    case 4:
        size = 1;
        if (buffer)
            buffer[0] = 0;
        return;
    case 16:
        size = 4;
        if (buffer)
            putU32(buffer, 0, parameter_);
        return;
    default:
        TBapiListItem::getProp(propId, buffer, size, maxLen);
    }
}

void TSqlStmt::setProp(std::uint32_t propId, std::uint32_t value) {
    if ((propId & 0xFFFF) == 16)
        parameter_ = value;
}

void TSqlStmt::checkProp(std::uint32_t propId, std::uint32_t flag) {
    std::uint32_t id = propId & 0xFFFF;
    if (flag != 0 && ((id >= 1 && id <= 4) || id == 19))
        raiseEngineError(dbierr::NOTSUPPORTED);
}

void TSqlStmt::prepare() {
    raiseNotSupported(9100);
}

void TSqlStmt::setParams(const EngineParams&, const Byte*) {
    raiseNotSupported(9101);
}

TBaseTable* TSqlStmt::execute(bool) {
    raiseNotSupported(9102);
}

} // namespace accessdb
