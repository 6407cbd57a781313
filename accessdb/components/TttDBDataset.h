#pragma once

#include "accessdb/components/TttDBEDataset.h"
#include "accessdb/engine/StatusCodes.h"

#include <bitset>
#include <string>

namespace accessdb {

class TBaseDatabase;
class TttDatabase;
class TttSession;
class TttSessionlist;

// An engine dataset bound to a database by name: it opens the named database through its
// session while it needs it and releases it afterwards.
class TttDBDataset : public TttDBEDataset {
public:
    static constexpr std::uint32_t UpdateModeProp = 0x4050000;

    TttDBDataset(TComponent* owner, TttSessionlist& sessionList);
    ~TttDBDataset() override;

    TVirtEng* engine() const override;
    const std::string& databaseName() const { return databaseName_; }
    void setDatabaseName(const std::string& name);
    const std::string& sessionName() const { return sessionName_; }
    void setSessionName(const std::string& name);
    TttDatabase* database() const { return database_; }
    TBaseDatabase* dbHandle() const;
    TttSession* dbSession() const;
    int updateMode() const { return updateMode_; }
    void setUpdateMode(int mode);

    // Marks one use of the database; the first use opens it, the last one releases it.
    bool setDBFlag(int flag, bool value);
    // True for 0; for missing table rights the password prompt runs and a given password
    // asks the caller to try again; any other status raises.
    bool checkOpen(Status status);
    // Closes the dataset for its database.
    void closeForDatabase();

protected:
    void openDataset() override;
    void closeDataset() override;

private:
    void prepareDatabase();
    void openDatabaseForUse();
    void releaseDatabase();

    TttSessionlist& sessionList_;
    TttDatabase* database_ = nullptr;
    std::bitset<16> dbFlags_;
    std::string databaseName_;
    std::string sessionName_;
    int updateMode_ = 0;
};

} // namespace accessdb
