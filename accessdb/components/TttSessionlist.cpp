#include "accessdb/components/TttSessionlist.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/components/TttSession.h"
#include "accessdb/engine/EngineText.h"

#include <algorithm>

namespace accessdb {

TttSessionlist::~TttSessionlist() = default;

void TttSessionlist::addSession(TttSession* session) {
    std::lock_guard guard(listLock_);
    sessions_.push_back(session);
}

void TttSessionlist::removeSession(TttSession* session) {
    std::lock_guard guard(listLock_);
    sessions_.erase(std::remove(sessions_.begin(), sessions_.end(), session), sessions_.end());
}

void TttSessionlist::closeAll() {
    std::lock_guard guard(listLock_);
    while (!sessions_.empty())
        delete sessions_.back();
}

TttSession* TttSessionlist::findSession(const std::string& name) {
    if (name.empty())
        return defaultSession();
    std::lock_guard guard(listLock_);
    for (TttSession* session : sessions_)
        if (equalsIgnoreCase(session->sessionName(), name))
            return session;
    return nullptr;
}

TttSession* TttSessionlist::getSession(const std::string& name) {
    TttSession* session = findSession(name);
    if (!session)
        throw EDatabaseError("Invalid session name " + name);
    return session;
}

int TttSessionlist::count() const {
    std::lock_guard guard(listLock_);
    return static_cast<int>(sessions_.size());
}

TttSession* TttSessionlist::first() const {
    std::lock_guard guard(listLock_);
    return sessions_.empty() ? nullptr : sessions_.front();
}

TttSession* TttSessionlist::sessionAt(int index) const {
    std::lock_guard guard(listLock_);
    if (index < 0 || index >= static_cast<int>(sessions_.size()))
        return nullptr;
    return sessions_[static_cast<std::size_t>(index)];
}

int TttSessionlist::takeSessionNumber() {
    std::lock_guard guard(listLock_);
    auto free = std::find(numbers_.begin(), numbers_.end(), false);
    if (free == numbers_.end()) {
        numbers_.push_back(true);
        return static_cast<int>(numbers_.size()) - 1;
    }
    *free = true;
    return static_cast<int>(free - numbers_.begin());
}

void TttSessionlist::releaseSessionNumber(int number) {
    std::lock_guard guard(listLock_);
    if (number >= 0 && number < static_cast<int>(numbers_.size()))
        numbers_[static_cast<std::size_t>(number)] = false;
}

} // namespace accessdb
