#pragma once

// A driver's component set over the test engine driver, made the way a real driver makes
// its own: a session list with the process's engine object and default session, and the
// session, database and table classes bound to it.

#include "tests/accessdb/TestDriver.h"

#include "accessdb/components/TttDBDataset.h"
#include "accessdb/components/TttDatabase.h"
#include "accessdb/components/TttSession.h"
#include "accessdb/components/TttSessionlist.h"

namespace accessdb::testing {

class TestSessionList;
TestSessionList& testSessionList();
inline TVirtEng* testEngineObject = nullptr;

class TestSessionComponent : public TttSession {
public:
    explicit TestSessionComponent(TComponent* owner);
    TttDatabase* createDatabase(TComponent* owner) override;
};

class TestSessionList : public TttSessionlist {
public:
    ~TestSessionList() override { closeAll(); }
    TVirtEng* engine() const override { return testEngineObject; }
    void setEngineObject(TVirtEng* engine) override { testEngineObject = engine; }
    SessionFactory engineClass() const override { return testSessions(); }
    TttSession* defaultSession() const override { return defaultSession_; }
    void setDefaultSession(TttSession* session) { defaultSession_ = session; }

private:
    TttSession* defaultSession_ = nullptr;
};

class TestDatabaseComponent : public TttDatabase {
public:
    explicit TestDatabaseComponent(TComponent* owner) : TttDatabase(owner, testSessionList()) {}
    bool loginPromptDefault() const override { return false; }
};

// A table of the test driver's databases, opened by name; a scripted status may first
// refuse the open as a missing password would.
class TestTable : public TttDBDataset {
public:
    explicit TestTable(TComponent* owner) : TttDBDataset(owner, testSessionList()) {}
    using TttDBEDataset::applyRange;
    using TttDBEDataset::cancelRange;
    using TttDBEDataset::indexField;
    using TttDBEDataset::indexFieldCount;
    using TttDBEDataset::setKeyBuffer;
    using TttDBEDataset::setLinkRanges;
    std::string tableName = "PEOPLE";
    std::vector<Status> refusals;

protected:
    TBaseTable* createHandle() override {
        TBaseTable* cursor = nullptr;
        for (;;) {
            Status status = 0;
            if (!refusals.empty()) {
                status = refusals.front();
                refusals.erase(refusals.begin());
            } else {
                OpenTableArgs args;
                args.tableName = tableName;
                status = engine()->OpenTable(dbHandle(), args, cursor);
            }
            if (checkOpen(status))
                return cursor;
        }
    }
};

inline TestSessionList& testSessionList() {
    static TestSessionList list;
    return list;
}

inline TestSessionComponent::TestSessionComponent(TComponent* owner)
    : TttSession(owner, testSessionList()) {}

inline TttDatabase* TestSessionComponent::createDatabase(TComponent* owner) {
    return new TestDatabaseComponent(owner);
}

// The default session "Test", made once for the process as a driver's unit start makes its
// own.
inline TttSession& testDefaultSession() {
    static TestSessionComponent* session = [] {
        auto* s = new TestSessionComponent(nullptr);
        testSessionList().setDefaultSession(s);
        s->setSessionName("Test");
        return s;
    }();
    return *session;
}

} // namespace accessdb::testing
