#pragma once

#include "accessdb/engine/TVirtEng.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace accessdb {

class TttSession;

// The session components of one driver, with the process-wide lock of its components and
// the numbers taken by automatic session names. A driver's list holds its engine object and
// names its default session, and calls closeAll() in its own destructor (the sessions still
// need the driver's engine while they go).
class TttSessionlist {
public:
    TttSessionlist() = default;
    virtual ~TttSessionlist();

    TttSessionlist(const TttSessionlist&) = delete;
    TttSessionlist& operator=(const TttSessionlist&) = delete;

    // The driver's engine object (none until the default session starts it), the session
    // class it is made with, and the default session.
    virtual TVirtEng* engine() const = 0;
    virtual void setEngineObject(TVirtEng* engine) = 0;
    virtual SessionFactory engineClass() const = 0;
    virtual TttSession* defaultSession() const = 0;
    std::recursive_mutex& criticalSection() { return criticalSection_; }

    void addSession(TttSession* session);
    void removeSession(TttSession* session);
    // Frees every session, the last first.
    void closeAll();
    // An empty name is the default session; none when no session has the name.
    TttSession* findSession(const std::string& name);
    // The session so named; an unknown name is a database error.
    TttSession* getSession(const std::string& name);
    int count() const;
    TttSession* first() const;
    TttSession* sessionAt(int index) const;

    // Takes the lowest free number of automatic session names.
    int takeSessionNumber();
    void releaseSessionNumber(int number);

private:
    mutable std::recursive_mutex listLock_;
    std::recursive_mutex criticalSection_;
    std::vector<TttSession*> sessions_;
    std::vector<bool> numbers_;
};

} // namespace accessdb
