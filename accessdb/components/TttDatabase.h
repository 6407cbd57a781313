#pragma once

#include "accessdb/classlib/TComponent.h"
#include "accessdb/classlib/TStringList.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace accessdb {

class TBaseDatabase;
class TttDBDataset;
class TttSession;
class TttSessionlist;
class TVirtEng;

// One connection to a database through the engine. It belongs to a session component,
// takes its parameters from the engine's configuration tree and its own Params, asks for a
// login when they hold a user name, and closes the datasets that use it.
class TttDatabase : public TComponent {
public:
    using LoginEvent = std::function<void(TttDatabase&, TStringList& loginParams)>;

    static constexpr std::uint32_t TypeProp = 0x40002;

    TttDatabase(TComponent* owner, TttSessionlist& sessionList);
    ~TttDatabase() override;

    virtual bool loginPromptDefault() const { return true; }
    TVirtEng* engine() const;

    void open();
    void close();
    bool connected() const { return handle_ != nullptr; }
    void setConnected(bool connected);
    TBaseDatabase* handle() const { return handle_; }
    void setHandle(TBaseDatabase* handle);

    const std::string& databaseName() const { return databaseName_; }
    void setDatabaseName(const std::string& name);
    std::string aliasName() const { return aliasSet_ ? aliasName_ : std::string(); }
    void setAliasName(const std::string& alias);
    const std::string& sessionName() const { return sessionName_; }
    void setSessionName(const std::string& name);
    TttSession* session() const { return session_; }
    bool exclusive() const { return exclusive_; }
    void setExclusive(bool exclusive);
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    bool handleShared = false;
    bool keepConnection() const { return keepConnection_; }
    void setKeepConnection(bool keep);
    // Defaults to the class's loginPromptDefault.
    bool loginPrompt() const { return loginPrompt_.value_or(loginPromptDefault()); }
    void setLoginPrompt(bool prompt) { loginPrompt_ = prompt; }
    TStringList& params() { return params_; }
    LoginEvent onLogin;

    bool temporary() const { return temporary_; }
    void setTemporary(bool temporary) { temporary_ = temporary; }
    int useCount() const { return useCount_; }
    void addUse() { ++useCount_; }
    void releaseUse();
    bool isStandard() const { return !notStandard_; }
    void setDirectory(const std::string& directory);

    void addDataSet(TttDBDataset* dataSet);
    void removeDataSet(TttDBDataset* dataSet);
    const std::vector<TttDBDataset*>& dataSets() const { return dataSets_; }
    // Binds the session (and activates it when asked).
    void bindSession(bool activate);
    void checkInactive();

protected:
    void notification(TComponent* component, Operation operation) override;
    void loaded() override;

private:
    void openHandle();
    void announceHandle();
    void prepareParams(std::string& password, TStringList& config);
    void login(TStringList& loginParams);
    void checkDuplicateName(const std::string& name);

    TttSessionlist& sessionList_;
    TttSession* session_ = nullptr;
    std::vector<TttDBDataset*> dataSets_;
    TBaseDatabase* handle_ = nullptr;
    std::string databaseName_;
    std::string aliasName_;
    std::string sessionName_;
    TStringList params_;
    int useCount_ = 0;
    bool temporary_ = false;
    bool streamedConnected_ = false;
    bool aliasSet_ = false;
    bool notStandard_ = false;
    bool handleAcquired_ = false;
    bool temporaryAlias_ = false;
    bool exclusive_ = false;
    bool readOnly_ = false;
    bool keepConnection_ = true;
    std::optional<bool> loginPrompt_;
};

} // namespace accessdb
