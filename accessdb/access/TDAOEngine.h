#pragma once

#include "accessdb/access/DaoInterface.h"
#include "accessdb/access/TDAODatabase.h"
#include "accessdb/access/TDAOErrors.h"
#include "mdbengine/dao/DBEngine.h"

#include <memory>
#include <string>

namespace accessdb {

// The engine. Creating it cannot fail here, but the marks and failure text of its creation
// are kept for the session, which reports a missing engine.
class TDAOEngine : public DaoInterface<mdbengine::DBEngine> {
public:
    // `version` 30, 35 or 36; `wideInterfaces` as the session asked for them.
    TDAOEngine(int version, bool wideInterfaces);

    bool created() const { return created_; }
    bool initialised() const { return initialised_; }
    const std::string& failureText() const { return failureText_; }
    int version() const { return version_; }
    bool wideInterfaces() const { return wideInterfaces_; }

    std::unique_ptr<TDAOErrors> errors();
    void idle(std::int32_t action);
    // Options: exclusive (a Boolean), ReadOnly (a Boolean), Connect (text, or omitted).
    std::unique_ptr<TDAODatabase> openDatabase(const std::string& name, const Variant& options,
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
