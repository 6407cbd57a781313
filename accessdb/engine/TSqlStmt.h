#pragma once

#include "accessdb/engine/EngineParams.h"
#include "accessdb/engine/TBapiListItem.h"

#include <string>

namespace accessdb {

class TBaseDatabase;
class TBaseTable;

// An SQL statement handle, listed under its database. Its text is kept in the engine's
// native character set, through the session's own translation.
class TSqlStmt : public TBapiListItem {
public:
    TSqlStmt(TBaseDatabase* database, TTorvaneCollection* collection, const std::string& text,
             int language);
    ~TSqlStmt() override;

    TBaseDatabase* database() const;
    const std::string& sqlText() const { return sqlText_; }
    int language() const { return language_; }
    std::uint32_t parameter() const { return parameter_; }

    void getProp(std::uint32_t propId, Byte* buffer, std::uint16_t& size,
                 std::uint16_t maxLen) override;
    void setProp(std::uint32_t propId, std::uint32_t value) override;
    void checkProp(std::uint32_t propId, std::uint32_t flag) override;
    virtual void setSQL(const std::string& text);
    void clearSQL() { sqlText_.clear(); }

    // What a driver's statements supply.
    virtual void prepare();
    virtual void setParams(const EngineParams& params, const Byte* record);
    // The result cursor when one is wanted and the statement gives one.
    virtual TBaseTable* execute(bool wantCursor);

private:
    std::uint32_t parameter_ = 0;
    std::string sqlText_;
    int language_;
};

} // namespace accessdb
