#pragma once

#include "accessdb/classlib/TComponent.h"
#include "accessdb/classlib/TStringList.h"
#include "accessdb/components/TttDBECallback.h"
#include "accessdb/engine/TVirtEng.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace accessdb {

class TttDatabase;
class TttSessionlist;

// One engine session as a component. The default session (the first one in its list)
// starts the engine; the session owns the database components opened through it, lists
// table names and reads and writes aliases in the engine's configuration tree. A driver's
// session class names its engine class, its database class and its engine object.
class TttSession : public TComponent {
public:
    using PasswordEvent = std::function<void(TttSession&, bool& proceed)>;
    using NotifyEvent = std::function<void(int code, void* info)>;

    // Notification codes.
    static constexpr int DatabaseOpened = 0;
    static constexpr int DatabaseClosing = 1;
    static constexpr int DatabaseAdded = 2;
    static constexpr int DatabaseRemoved = 3;
    static constexpr int AliasAdded = 4;
    static constexpr int AliasDeleted = 5;

    TttSession(TComponent* owner, TttSessionlist& sessionList);
    ~TttSession() override;

    // The engine object and session class come from the driver's session list.
    TVirtEng* engine() const;
    // A temporary database component of the driver's class.
    virtual TttDatabase* createDatabase(TComponent* owner) = 0;

    TttSessionlist& sessionList() const { return sessionList_; }
    bool isDefault() const;
    TBaseSession* handle() const { return handle_; }
    bool active() const { return handle_ != nullptr; }
    void setActive(bool active);
    const std::string& sessionName() const { return sessionName_; }
    void setSessionName(const std::string& name);
    bool autoSessionName() const { return autoSessionName_; }
    void setAutoSessionName(bool on);
    void setName(const std::string& name) override;
    bool keepConnections = true;
    bool sqlHourGlass = true;
    std::string netFileDir() const;
    void setNetFileDir(const std::string& dir);
    std::string privateDir() const;
    void setPrivateDir(const std::string& dir);
    std::uint8_t configMode();
    void setConfigMode(std::uint32_t mode);
    PasswordEvent onPassword;
    std::function<void(TttSession&)> onStartup;
    NotifyEvent onNotify;

    // The engine session made current under the driver's lock (re-entrant).
    void lock();
    void unlock();
    TBaseSession* getHandle();

    const std::vector<TttDatabase*>& databases() const { return databases_; }
    TttDatabase* openDatabase(const std::string& name, TComponent* owner);
    void closeDatabase(TttDatabase* database);
    TttDatabase* findDatabase(const std::string& name) const;
    void addDatabase(TttDatabase* database);
    void removeDatabase(TttDatabase* database);
    const std::vector<std::unique_ptr<TttDBECallback>>& callbacks() const { return callbacks_; }

    // The table names of a database; the list ends only at the end of the engine's list.
    void getTableNames(const std::string& databaseName, const std::string& pattern,
                       TStringList& list, bool systemTables, bool extensions);
    void getAliasParams(const std::string& alias, TStringList& list);
    void getDriverParams(const std::string& driver, TStringList& list);
    void getConfigParams(const std::string& pathFormat, const std::string& name, TStringList& list);
    void addAlias(const std::string& name, const std::string& driver, bool save,
                  std::uint32_t configMode, const TStringList& params);
    void deleteAlias(const std::string& name);
    // Runs the password prompt; true when a password was given.
    bool runPasswordPrompt();
    void notify(int code, void* info);

protected:
    void notification(TComponent* component, Operation operation) override;
    void loaded() override;

private:
    void startEngine();
    void activate();
    void deactivate();
    // Registers a callback of the given type with this session's engine.
    void addCallback(int callbackType);
    void passNameOn();
    void assignAutomaticName();

    TttSessionlist& sessionList_;
    TBaseSession* handle_ = nullptr;
    std::vector<TttDatabase*> databases_;
    std::vector<std::unique_ptr<TttDBECallback>> callbacks_;
    std::string sessionName_;
    bool autoSessionName_ = false;
    bool updatingName_ = false;
    bool streamedActive_ = false;
    int sessionNumber_ = -1;
    int lockCount_ = 0;
    std::string netFileDir_;
    std::string privateDir_;
};

// Holds a session's lock for a scope.
class SessionLock {
public:
    explicit SessionLock(TttSession& session) : session_(session) { session_.lock(); }
    ~SessionLock() { session_.unlock(); }
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

private:
    TttSession& session_;
};

} // namespace accessdb
