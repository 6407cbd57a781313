#include "accessdb/components/TttDBDataset.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/TttDatabase.h"
#include "accessdb/components/TttSession.h"
#include "accessdb/components/TttSessionlist.h"
#include "accessdb/engine/TBaseDatabase.h"
#include "accessdb/engine/TVirtEng.h"

namespace accessdb {

TttDBDataset::TttDBDataset(TComponent* owner, TttSessionlist& sessionList)
    : TttDBEDataset(owner), sessionList_(sessionList) {
    notifyInserted();
}

TttDBDataset::~TttDBDataset() {
    try {
        close();
    } catch (...) {
    }
    if (database_)
        database_->removeDataSet(this);
}

TVirtEng* TttDBDataset::engine() const {
    return sessionList_.engine();
}

TBaseDatabase* TttDBDataset::dbHandle() const {
    return database_ ? database_->handle() : nullptr;
}

TttSession* TttDBDataset::dbSession() const {
    if (database_ && database_->session())
        return database_->session();
    if (TttSession* named = sessionList_.findSession(sessionName_))
        return named;
    return sessionList_.defaultSession();
}

void TttDBDataset::setDatabaseName(const std::string& name) {
    if (loading()) {
        databaseName_ = name;
        return;
    }
    if (name == databaseName_)
        return;
    checkInactive();
    if (database_)
        throw EDatabaseError("Cannot perform this operation on an open database");
    databaseName_ = name;
    dataEvent(DataEvent::PropertyChange);
}

void TttDBDataset::setSessionName(const std::string& name) {
    checkInactive();
    sessionName_ = name;
    dataEvent(DataEvent::PropertyChange);
}

void TttDBDataset::setUpdateMode(int mode) {
    if (handle() && database_ && !database_->isStandard() && canModify())
        check(engine(),
              engine()->SetProp(handle(), UpdateModeProp, static_cast<std::uint32_t>(mode)));
    updateMode_ = mode;
}

void TttDBDataset::prepareDatabase() {
    if (sessionName_.empty() || databaseName_.empty())
        return;
    TttSession* session = sessionList_.findSession(sessionName_);
    if (!session)
        return;
    for (TttDatabase* database : session->databases())
        if (database->owner() == owner() && database->databaseName() == databaseName_)
            return;
    TttSession* fallback = sessionList_.defaultSession();
    if (!fallback || fallback == session)
        return;
    for (TttDatabase* database : fallback->databases()) {
        if (database->owner() != owner() || database->databaseName() != databaseName_)
            continue;
        database->bindSession(true);
        return;
    }
}

void TttDBDataset::openDatabaseForUse() {
    prepareDatabase();
    TttSession* session = sessionList_.getSession(sessionName_);
    database_ = session->openDatabase(databaseName_, owner());
    database_->addDataSet(this);
}

void TttDBDataset::releaseDatabase() {
    if (!database_)
        return;
    TttDatabase* database = database_;
    database_ = nullptr;
    database->removeDataSet(this);
    if (TttSession* session = database->session())
        session->closeDatabase(database);
}

bool TttDBDataset::setDBFlag(int flag, bool value) {
    if (flag < 0 || flag > 15)
        return false;
    bool previous = dbFlags_.test(static_cast<std::size_t>(flag));
    if (value && !previous) {
        if (dbFlags_.none())
            openDatabaseForUse();
        dbFlags_.set(static_cast<std::size_t>(flag));
    } else if (!value && previous) {
        dbFlags_.reset(static_cast<std::size_t>(flag));
        if (dbFlags_.none())
            releaseDatabase();
    }
    return previous;
}

bool TttDBDataset::checkOpen(Status status) {
    if (status == 0)
        return true;
    if (status == dbierr::NOTSUFFTABLERIGHTS) {
        TttSession* session = dbSession();
        if (session && session->runPasswordPrompt())
            return false;
    }
    dbiError(engine(), status);
}

void TttDBDataset::closeForDatabase() {
    close();
    if (database_) {
        database_->removeDataSet(this);
        database_ = nullptr;
        dbFlags_.reset();
    }
}

void TttDBDataset::openDataset() {
    setDBFlag(0, true);
    try {
        TttDBEDataset::openDataset();
        setUpdateMode(updateMode_);
    } catch (...) {
        setDBFlag(0, false);
        throw;
    }
}

void TttDBDataset::closeDataset() {
    try {
        TttDBEDataset::closeDataset();
    } catch (...) {
        // The connection holds changes it could not write. When this data set is its last
        // user, the session closes it (and frees a temporary one) as the data set lets it
        // go; only a connection the session keeps is closed here, so that the next open
        // reads the file as it now is. What the session may free is not touched after.
        TttDatabase* database = database_;
        const bool keptAfterLastUse =
            database && database->useCount() == 1 && database->keepConnection();
        setDBFlag(0, false);
        if (keptAfterLastUse) {
            try {
                database->close();
            } catch (...) {
            }
        }
        throw;
    }
    setDBFlag(0, false);
}

} // namespace accessdb
