#include "accessdb/components/TttSession.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/ComponentPlatform.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/components/EngineSupport.h"
#include "accessdb/components/TttDBDataset.h"
#include "accessdb/components/TttDatabase.h"
#include "accessdb/components/TttSessionlist.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/EngineText.h"

#include <algorithm>
#include <cstdio>

namespace accessdb {
namespace {

std::string formatted(const char* format, const std::string& name) {
    char text[512];
    std::snprintf(text, sizeof text, format, name.c_str());
    return text;
}

// The other session component on the same owner that names itself automatically.
TttSession* autoNamedSibling(TComponent* owner, const TttSession* self) {
    if (!owner)
        return nullptr;
    for (TComponent* component : owner->components())
        if (auto* session = dynamic_cast<TttSession*>(component))
            if (session != self && session->autoSessionName())
                return session;
    return nullptr;
}

bool otherSessionOnOwner(TComponent* owner, const TttSession* self) {
    if (!owner)
        return false;
    for (TComponent* component : owner->components())
        if (component != self && dynamic_cast<TttSession*>(component))
            return true;
    return false;
}

// Reads a list cursor row by row to its end. Only the end of the list ends it: a failure
// is not a shorter list.
template <typename OnRow>
void readToEnd(const ListCursor& list, std::size_t rowSize, OnRow onRow) {
    std::vector<Byte> row(rowSize, 0);
    Status status = 0;
    while ((status =
                list.engine->GetNextRecord(list.cursor, LockType::None, row.data(), nullptr)) == 0)
        onRow(row.data());
    if (status != dbierr::EOF_)
        check(list.engine, status);
}

} // namespace

TttSession::TttSession(TComponent* owner, TttSessionlist& sessionList)
    : TComponent(owner), sessionList_(sessionList) {
    if (TttSession* other = autoNamedSibling(owner, this))
        throw EDatabaseError(formatted("Cannot add a session to the form or data-module while "
                                       "session '%s' has AutoSessionName enabled",
                                       other->sessionName()));
    sessionList_.addSession(this);
    notifyInserted();
}

TttSession::~TttSession() {
    try {
        setActive(false);
    } catch (...) {
    }
    if (sessionNumber_ >= 0)
        sessionList_.releaseSessionNumber(sessionNumber_);
    for (TttDatabase* database : std::vector<TttDatabase*>(databases_))
        if (database->temporary())
            delete database;
    sessionList_.removeSession(this);
}

TVirtEng* TttSession::engine() const {
    return sessionList_.engine();
}

bool TttSession::isDefault() const {
    return sessionList_.defaultSession() == this;
}

void TttSession::addCallback(int callbackType) {
    auto callback = std::make_unique<TttDBECallback>();
    callback->engine = engine();
    callback->owner = this;
    callback->callbackType = callbackType;
    callbacks_.push_back(std::move(callback));
}

void TttSession::setActive(bool active) {
    if (loading()) {
        streamedActive_ = active;
        return;
    }
    if (active == this->active())
        return;
    std::lock_guard guard(sessionList_.criticalSection());
    if (active)
        activate();
    else
        deactivate();
}

void TttSession::startEngine() {
    bool hourglass = componentPlatform().busyCursor != nullptr;
    if (hourglass)
        componentPlatform().busyCursor(true);
    Status status = 0;
    if (engine()) {
        status = dbierr::MULTIPLEINIT;
    } else {
        TVirtEng* created = nullptr;
        try {
            created = new TVirtEng(sessionList_.engineClass());
            status = created->startStatus();
        } catch (const ETorvaneEngineError& error) {
            status = error.errorCode();
        }
        // An engine whose session did not start is not kept.
        if (created && status != 0) {
            delete created;
            created = nullptr;
        }
        if (created)
            sessionList_.setEngineObject(created);
    }
    if (hourglass)
        componentPlatform().busyCursor(false);
    if (status != 0 && status != dbierr::MULTIPLEINIT)
        check(engine(), status);
    TBaseSession* current = nullptr;
    check(engine(), engine()->GetCurrSession(current));
    handle_ = current;
}

void TttSession::activate() {
    if (onStartup)
        onStartup(*this);
    if (sessionName_.empty())
        throw EDatabaseError("Session name missing");
    if (!isDefault())
        sessionList_.defaultSession()->setActive(true);
    if (isDefault()) {
        startEngine();
    } else {
        TBaseSession* started = nullptr;
        check(engine(), engine()->StartSession("", started, ""));
        handle_ = started;
    }
    try {
        if (sqlHourGlass)
            addCallback(21);
        addCallback(28);
        if (!netFileDir_.empty())
            setNetFileDir(netFileDir_);
        if (!privateDir_.empty())
            setPrivateDir(privateDir_);
        setConfigMode(7);
    } catch (...) {
        deactivate();
        throw;
    }
}

void TttSession::deactivate() {
    TVirtEng* eng = engine();
    if (eng && handle_)
        eng->SetCurrSession(handle_);
    for (TttDatabase* database : std::vector<TttDatabase*>(databases_)) {
        if (database->temporary())
            delete database;
        else
            database->close();
    }
    callbacks_.clear();
    if (!isDefault()) {
        if (eng && handle_) {
            TBaseSession* closing = handle_;
            handle_ = nullptr;
            check(eng, eng->CloseSession(closing));
            if (TttSession* first = sessionList_.defaultSession(); first && first->handle())
                eng->SetCurrSession(first->handle());
        }
    } else if (eng) {
        // The other sessions live in this engine: they go first.
        for (int i = 0; i < sessionList_.count(); ++i)
            if (TttSession* other = sessionList_.sessionAt(i); other != this && other->active())
                other->deactivate();
        handle_ = nullptr;
        sessionList_.setEngineObject(nullptr);
        delete eng;
    }
    handle_ = nullptr;
}

void TttSession::lock() {
    if (lockCount_ == 0) {
        sessionList_.criticalSection().lock();
        try {
            if (!active())
                setActive(true);
            else
                check(engine(), engine()->SetCurrSession(handle_));
        } catch (...) {
            sessionList_.criticalSection().unlock();
            throw;
        }
    }
    ++lockCount_;
}

void TttSession::unlock() {
    if (lockCount_ == 0)
        return;
    if (--lockCount_ == 0)
        sessionList_.criticalSection().unlock();
}

TBaseSession* TttSession::getHandle() {
    std::lock_guard guard(sessionList_.criticalSection());
    if (!active())
        setActive(true);
    else
        check(engine(), engine()->SetCurrSession(handle_));
    return handle_;
}

void TttSession::setSessionName(const std::string& name) {
    if (autoSessionName_ && !updatingName_)
        throw EDatabaseError("Cannot modify SessionName while AutoSessionName is enabled");
    if (active())
        throw EDatabaseError("Cannot perform this operation on an active session");
    if (!name.empty()) {
        TttSession* existing = sessionList_.findSession(name);
        if (existing && existing != this && !equalsIgnoreCase(name, sessionName_))
            throw EDatabaseError(formatted("Duplicate session name '%s'", name));
    }
    sessionName_ = name;
}

void TttSession::assignAutomaticName() {
    updatingName_ = true;
    try {
        setSessionName(name() + "_" + std::to_string(sessionNumber_ + 1));
    } catch (...) {
        updatingName_ = false;
        throw;
    }
    updatingName_ = false;
    passNameOn();
}

void TttSession::setAutoSessionName(bool on) {
    if (on == autoSessionName_)
        return;
    if (on) {
        if (active())
            throw EDatabaseError("Cannot perform this operation on an active session");
        if (otherSessionOnOwner(owner(), this))
            throw EDatabaseError("Cannot enable AutoSessionName property with more than one "
                                 "session on a form or data-module");
        {
            std::lock_guard guard(sessionList_.criticalSection());
            sessionNumber_ = sessionList_.takeSessionNumber();
        }
        autoSessionName_ = true;
        assignAutomaticName();
        return;
    }
    sessionList_.releaseSessionNumber(sessionNumber_);
    sessionNumber_ = -1;
    autoSessionName_ = false;
}

void TttSession::setName(const std::string& name) {
    TComponent::setName(name);
    if (autoSessionName_)
        assignAutomaticName();
}

void TttSession::passNameOn() {
    if (!owner())
        return;
    for (TComponent* component : owner()->components()) {
        if (auto* dataSet = dynamic_cast<TttDBDataset*>(component)) {
            if (dataSet->sessionName() != sessionName_)
                dataSet->setSessionName(sessionName_);
        } else if (auto* database = dynamic_cast<TttDatabase*>(component)) {
            if (database->sessionName() != sessionName_)
                database->setSessionName(sessionName_);
        }
    }
}

void TttSession::notification(TComponent* component, Operation operation) {
    TComponent::notification(component, operation);
    if (operation != Operation::Insert || !autoSessionName_)
        return;
    if (auto* dataSet = dynamic_cast<TttDBDataset*>(component))
        dataSet->setSessionName(sessionName_);
    else if (auto* database = dynamic_cast<TttDatabase*>(component))
        database->setSessionName(sessionName_);
}

void TttSession::loaded() {
    try {
        if (autoSessionName_)
            passNameOn();
        if (streamedActive_)
            setActive(true);
    } catch (const std::exception& error) {
        if (designing() && componentPlatform().showException)
            componentPlatform().showException(error);
        else
            throw;
    }
}

std::string TttSession::netFileDir() const {
    if (!active())
        return upperAscii(netFileDir_);
    TttSession& self = const_cast<TttSession&>(*this);
    SessionLock guard(self);
    Byte buffer[261] = {};
    std::uint16_t length = 0;
    check(engine(),
          engine()->GetProp(handle_, TBaseSession::CurrentDirProp, buffer, sizeof buffer, length));
    return upperAscii(nativeToAnsi(engine(), getText(buffer, 0, sizeof buffer)));
}

void TttSession::setNetFileDir(const std::string& dir) {
    if (active()) {
        SessionLock guard(*this);
        check(engine(), engine()->SetProp(getHandle(), TBaseSession::CurrentDirProp, 0));
    }
    netFileDir_ = dir;
}

std::string TttSession::privateDir() const {
    if (!active())
        return upperAscii(privateDir_);
    TttSession& self = const_cast<TttSession&>(*this);
    SessionLock guard(self);
    SesInfo info;
    check(engine(), engine()->GetSesInfo(info));
    return upperAscii(nativeToAnsi(engine(), info.privateDir));
}

void TttSession::setPrivateDir(const std::string& dir) {
    if (active()) {
        SessionLock guard(*this);
        check(engine(), engine()->SetPrivateDir(ansiToNative(engine(), dir, 260)));
    }
    privateDir_ = dir;
}

std::uint8_t TttSession::configMode() {
    SessionLock guard(*this);
    return static_cast<std::uint8_t>(getIntProp(engine(), handle_, TBaseSession::ConfigModeProp2));
}

void TttSession::setConfigMode(std::uint32_t mode) {
    SessionLock guard(*this);
    check(engine(), engine()->SetProp(handle_, TBaseSession::ConfigModeProp2, mode));
}

TttDatabase* TttSession::findDatabase(const std::string& name) const {
    for (TttDatabase* database : databases_)
        if (equalsIgnoreCase(database->databaseName(), name))
            return database;
    return nullptr;
}

void TttSession::addDatabase(TttDatabase* database) {
    databases_.push_back(database);
    notify(DatabaseAdded, database);
}

void TttSession::removeDatabase(TttDatabase* database) {
    databases_.erase(std::remove(databases_.begin(), databases_.end(), database), databases_.end());
    notify(DatabaseRemoved, database);
}

void TttSession::notify(int code, void* info) {
    if (onNotify)
        onNotify(code, info);
}

TttDatabase* TttSession::openDatabase(const std::string& name, TComponent* owner) {
    getHandle();
    TttDatabase* database = nullptr;
    if (owner) {
        for (TttDatabase* candidate : databases_)
            if (candidate->owner() == owner && candidate->connected() &&
                equalsIgnoreCase(candidate->databaseName(), name))
                database = candidate;
    }
    if (!database)
        database = findDatabase(name);
    bool created = false;
    if (!database) {
        database = createDatabase(nullptr);
        created = true;
        try {
            database->setSessionName(sessionName_);
            database->setDatabaseName(name);
            database->setKeepConnection(keepConnections);
            database->setTemporary(true);
        } catch (...) {
            delete database;
            throw;
        }
    }
    try {
        database->open();
    } catch (...) {
        if (created)
            delete database;
        throw;
    }
    database->addUse();
    return database;
}

void TttSession::closeDatabase(TttDatabase* database) {
    if (!database)
        return;
    database->releaseUse();
    if (database->useCount() != 0 || database->keepConnection())
        return;
    if (!database->temporary())
        database->close();
    else if (!database->destroying())
        delete database;
}

void TttSession::getTableNames(const std::string& databaseName, const std::string& pattern,
                               TStringList& list, bool systemTables, bool extensions) {
    list.beginUpdate();
    struct EndUpdate {
        TStringList& list;
        ~EndUpdate() { list.endUpdate(); }
    } endUpdate{list};
    list.clear();
    TttDatabase* database = openDatabase(databaseName, nullptr);
    struct Release {
        TttSession& session;
        TttDatabase* database;
        ~Release() { session.closeDatabase(database); }
    } release{*this, database};
    std::string nativePattern = pattern.empty() ? "" : ansiToNative(engine(), pattern, 260);
    ListCursor tables{engine()};
    check(engine(), engine()->OpenTableList(database->handle(), false, nativePattern, systemTables,
                                            tables.cursor));
    readToEnd(tables, 626, [&](const Byte* row) {
        std::string name = getText(row, 0, 261);
        std::string extension = getText(row, 522, 4);
        if (extensions && !extension.empty())
            name += "." + extension;
        list.add(nativeToAnsi(engine(), name));
    });
}

void TttSession::getConfigParams(const std::string& pathFormat, const std::string& name,
                                 TStringList& list) {
    SessionLock guard(*this);
    char path[1024];
    std::snprintf(path, sizeof path, pathFormat.c_str(), name.c_str());
    ListCursor params{engine()};
    check(engine(), engine()->OpenCfgInfoList(path, params.cursor));
    readToEnd(params, 292, [&](const Byte* row) {
        list.add(getText(row, 0, 32) + "=" + nativeToAnsi(engine(), getText(row, 162, 128)));
    });
}

void TttSession::getAliasParams(const std::string& alias, TStringList& list) {
    list.clear();
    getConfigParams("\\DATABASES\\%s\\DB OPEN", ansiToOem(leftChars(alias, 260)), list);
}

void TttSession::getDriverParams(const std::string& driver, TStringList& list) {
    list.clear();
    if (equalsIgnoreCase(driver, "STANDARD")) {
        list.add("PATH=");
        return;
    }
    getConfigParams("\\DRIVERS\\%s\\DB OPEN", ansiToOem(driver), list);
}

void TttSession::addAlias(const std::string& name, const std::string& driver, bool save,
                          std::uint32_t mode, const TStringList& params) {
    std::string text = paramsToText(params.lines(), engine());
    std::string driverName = params.values("DEFAULT DRIVER");
    if (driverName.empty() && !equalsIgnoreCase(driver, "STANDARD"))
        driverName = driver;
    {
        SessionLock guard(*this);
        std::uint8_t saved = configMode();
        setConfigMode(mode == 7 ? 2 : mode);
        try {
            check(engine(), engine()->AddAlias(ansiToNative(engine(), name, 260), text));
        } catch (...) {
            setConfigMode(saved);
            throw;
        }
        if (save)
            setConfigMode(saved);
    }
    notify(AliasAdded, const_cast<std::string*>(&name));
}

void TttSession::deleteAlias(const std::string& name) {
    notify(AliasDeleted, const_cast<std::string*>(&name));
    SessionLock guard(*this);
    engine()->DeleteAlias(ansiToNative(engine(), name, 260));
}

bool TttSession::runPasswordPrompt() {
    bool proceed = false;
    if (onPassword)
        onPassword(*this, proceed);
    else if (componentPlatform().passwordDialog)
        proceed = componentPlatform().passwordDialog();
    return proceed;
}

} // namespace accessdb
