#include "accessdb/components/TttDatabase.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ComponentPlatform.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/EngineSupport.h"
#include "accessdb/components/TttDBDataset.h"
#include "accessdb/components/TttSession.h"
#include "accessdb/components/TttSessionlist.h"
#include "accessdb/engine/EngineText.h"

#include <algorithm>

namespace accessdb {
namespace {

EngineParams engineParams(const TStringList& lines) {
    EngineParams params;
    for (int i = 0; i < lines.count(); ++i) {
        const std::string& line = lines[i];
        std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            params.add(line, "");
        else
            params.add(line.substr(0, eq), line.substr(eq + 1));
    }
    return params;
}

} // namespace

TttDatabase::TttDatabase(TComponent* owner, TttSessionlist& sessionList)
    : TComponent(owner), sessionList_(sessionList) {
    session_ = dynamic_cast<TttSession*>(owner);
    if (!session_)
        session_ = sessionList_.defaultSession();
    if (session_) {
        sessionName_ = session_->sessionName();
        session_->addDatabase(this);
        freeNotification(session_);
    }
    params_.onChanging = [this] { checkInactive(); };
    notifyInserted();
}

TttDatabase::~TttDatabase() {
    try {
        close();
    } catch (...) {
    }
    for (TttDBDataset* dataSet : std::vector<TttDBDataset*>(dataSets_))
        dataSet->closeForDatabase();
    if (session_)
        session_->removeDatabase(this);
}

TVirtEng* TttDatabase::engine() const {
    return sessionList_.engine();
}

void TttDatabase::checkInactive() {
    if (!connected())
        return;
    if (designing())
        return close();
    throw EDatabaseError("Cannot perform this operation on an open database");
}

void TttDatabase::setConnected(bool connected) {
    if (loading()) {
        streamedConnected_ = connected;
        return;
    }
    if (connected)
        open();
    else
        close();
}

void TttDatabase::loaded() {
    try {
        if (streamedConnected_)
            open();
        else
            bindSession(false);
    } catch (const std::exception& error) {
        if (designing() && componentPlatform().showException)
            componentPlatform().showException(error);
        else
            throw;
    }
}

void TttDatabase::checkDuplicateName(const std::string& name) {
    if (!session_ || name.empty())
        return;
    for (TttDatabase* other : std::vector<TttDatabase*>(session_->databases())) {
        if (other == this || !equalsIgnoreCase(other->databaseName(), name))
            continue;
        if (handleShared && other->handleShared)
            continue;
        if (!other->temporary() || other->useCount() > 0)
            throw EDatabaseError("Duplicate database name '" + name + "'");
        delete other;
    }
}

void TttDatabase::setDatabaseName(const std::string& name) {
    if (loading()) {
        databaseName_ = name;
        return;
    }
    if (name == databaseName_)
        return;
    checkInactive();
    checkDuplicateName(name);
    databaseName_ = name;
}

void TttDatabase::setAliasName(const std::string& alias) {
    checkInactive();
    aliasName_ = alias;
    aliasSet_ = true;
}

void TttDatabase::setSessionName(const std::string& name) {
    checkInactive();
    if (name == sessionName_)
        return;
    sessionName_ = name;
    bindSession(false);
}

void TttDatabase::setExclusive(bool exclusive) {
    checkInactive();
    exclusive_ = exclusive;
}

void TttDatabase::setReadOnly(bool readOnly) {
    checkInactive();
    readOnly_ = readOnly;
}

void TttDatabase::setKeepConnection(bool keep) {
    keepConnection_ = keep;
    if (!keep && useCount_ == 0)
        close();
}

void TttDatabase::releaseUse() {
    if (useCount_ > 0)
        --useCount_;
}

void TttDatabase::bindSession(bool activate) {
    TttSession* session =
        activate ? sessionList_.getSession(sessionName_) : sessionList_.findSession(sessionName_);
    if (session && session != session_) {
        if (session_) {
            session_->removeDatabase(this);
            removeFreeNotification(session_);
        }
        session_ = session;
        session_->addDatabase(this);
        freeNotification(session_);
        try {
            checkDuplicateName(databaseName_);
        } catch (...) {
            databaseName_.clear();
            throw;
        }
    }
    if (activate && session_)
        session_->setActive(true);
}

void TttDatabase::notification(TComponent* component, Operation operation) {
    TComponent::notification(component, operation);
    if (operation == Operation::Remove && component == session_) {
        bool wasDefault = sessionList_.defaultSession() == session_;
        session_ = nullptr;
        handle_ = nullptr;
        if (!wasDefault)
            sessionName_.clear();
    }
}

void TttDatabase::setHandle(TBaseDatabase* handle) {
    if (connected())
        close();
    if (!handle)
        return;
    bindSession(true);
    TBapiListItem* owner = nullptr;
    check(engine(), engine()->GetObjFromObj(handle, 2, owner));
    if (!session_ || owner != session_->getHandle())
        throw EDatabaseError("Database handle owned by a different session");
    handle_ = handle;
    announceHandle();
    handleAcquired_ = true;
}

// Learns the kind of database behind the new handle and tells the session it is open.
void TttDatabase::announceHandle() {
    Byte type[32] = {};
    std::uint16_t length = 0;
    check(engine(), engine()->GetProp(handle_, TypeProp, type, sizeof type, length));
    notStandard_ = !equalsIgnoreCase(getText(type, 0, sizeof type), "STANDARD");
    session_->notify(TttSession::DatabaseOpened, this);
}

void TttDatabase::setDirectory(const std::string& directory) {
    if (connected())
        check(engine(), engine()->SetDirectory(handle_, ansiToNative(engine(), directory, 260)));
}

void TttDatabase::login(TStringList& loginParams) {
    if (onLogin)
        return onLogin(*this, loginParams);
    std::string userName = loginParams.values("USER NAME");
    std::string password;
    if (!componentPlatform().loginDialog ||
        !componentPlatform().loginDialog(databaseName_, userName, password))
        throw EDatabaseError("Cannot connect to database '" + databaseName_ + "'");
    loginParams.setValue("USER NAME", userName);
    loginParams.setValue("PASSWORD", password);
}

void TttDatabase::prepareParams(std::string& password, TStringList& config) {
    password.clear();
    temporaryAlias_ = false;
    session_->getAliasParams(aliasSet_ ? aliasName_ : databaseName_, config);
    if (!designing()) {
        for (int i = 0; i < config.count(); ++i) {
            std::string name = config.nameAt(i);
            int index = params_.indexOfName(name);
            if (index < 0)
                params_.add(config[i]);
            else if (params_.valueAt(index).empty() && !config.valueAt(i).empty())
                params_.setValue(name, config.valueAt(i));
        }
    }
    if (config.indexOfName("USER NAME") >= 0) {
        if (loginPrompt()) {
            if (params_.values("USER NAME").empty() && !config.values("USER NAME").empty())
                params_.setValue("USER NAME", config.values("USER NAME"));
            TStringList loginParams;
            loginParams.add("USER NAME=" + params_.values("USER NAME"));
            login(loginParams);
            password = loginParams.values("PASSWORD");
            params_.setValue("USER NAME", loginParams.values("USER NAME"));
        } else {
            password = params_.values("PASSWORD");
        }
    }
    bool needAlias = aliasSet_ && aliasName_ != databaseName_;
    for (int i = 0; i < params_.count(); ++i) {
        std::string name = params_.nameAt(i);
        if (equalsIgnoreCase(name, "PASSWORD") || name.empty())
            continue;
        if (config.indexOf(params_[i]) < 0 && config.indexOfName(name) >= 0) {
            needAlias = true;
            config.setValue(name, params_.valueAt(i));
        }
    }
    if (needAlias) {
        session_->addAlias(databaseName_, "", false, 4, config);
        temporaryAlias_ = true;
    }
}

void TttDatabase::open() {
    if (connected())
        return;
    if (databaseName_.empty() && !temporary_)
        throw EDatabaseError("Database name missing");
    bindSession(true);
    if (handleShared) {
        for (TttDatabase* other : session_->databases()) {
            if (other != this && other->handleShared && other->connected() &&
                equalsIgnoreCase(other->databaseName(), databaseName_)) {
                setHandle(other->handle());
                handleAcquired_ = false;
                return;
            }
        }
    }
    openHandle();
}

void TttDatabase::openHandle() {
    SessionLock guard(*session_);
    std::uint8_t savedMode = session_->configMode();
    try {
        std::string password;
        TStringList config;
        prepareParams(password, config);
        EngineParams params = engineParams(params_);
        TBaseDatabase* handle = nullptr;
        check(engine(),
              engine()->OpenDatabase(ansiToNative(engine(), databaseName_, 260), "",
                                     readOnly_ ? 1 : 0, exclusive_ ? 1 : 0,
                                     ansiToNative(engine(), password, 31), params, handle));
        handle_ = handle;
        setBoolProp(engine(), handle_, 0x40005, 1);
        setBoolProp(engine(), handle_, 0x40004, 1);
        setBoolProp(engine(), handle_, 0x4040011, 1);
        announceHandle();
    } catch (...) {
        if (handle_) {
            TBaseDatabase* failed = handle_;
            handle_ = nullptr;
            engine()->CloseDatabase(failed);
        }
        if (temporaryAlias_) {
            session_->deleteAlias(databaseName_);
            temporaryAlias_ = false;
        }
        session_->setConfigMode(savedMode);
        throw;
    }
    session_->setConfigMode(savedMode);
}

void TttDatabase::close() {
    if (!connected())
        return;
    if (session_)
        session_->notify(TttSession::DatabaseClosing, this);
    while (!dataSets_.empty())
        dataSets_.back()->closeForDatabase();
    if (handleAcquired_) {
        handleAcquired_ = false;
    } else if (session_) {
        bool shared = false;
        for (TttDatabase* other : session_->databases())
            if (other != this && other->connected() && other->handle() == handle_)
                shared = true;
        if (!shared && engine())
            engine()->CloseDatabase(handle_);
    }
    handle_ = nullptr;
    useCount_ = 0;
    notStandard_ = false;
    if (temporaryAlias_ && session_) {
        session_->deleteAlias(databaseName_);
        temporaryAlias_ = false;
    }
}

void TttDatabase::addDataSet(TttDBDataset* dataSet) {
    if (std::find(dataSets_.begin(), dataSets_.end(), dataSet) == dataSets_.end())
        dataSets_.push_back(dataSet);
}

void TttDatabase::removeDataSet(TttDBDataset* dataSet) {
    dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), dataSet), dataSets_.end());
}

} // namespace accessdb
