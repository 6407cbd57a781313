#pragma once

// A driver for the engine's tests: a session whose databases open TestCursor tables and list
// two table names, with or without code-page translation.

#include "tests/accessdb/TestCursor.h"

#include "accessdb/engine/TBaseDatabase.h"
#include "accessdb/engine/TBaseListTable.h"
#include "accessdb/engine/TBaseSession.h"
#include "accessdb/engine/TVirtEng.h"

#include <memory>
#include <stdexcept>

namespace accessdb::testing {

// A table list that fails after its first row, as a driver whose file went away would.
class FailingListTable : public TBaseListTable {
public:
    using TBaseListTable::TBaseListTable;
    void getNextRecord(LockType lock, Byte* buffer, RecordProps* props) override {
        if (delivered_++ > 0)
            raiseEngineError(0x2401);
        TBaseListTable::getNextRecord(lock, buffer, props);
    }

private:
    int delivered_ = 0;
};

class TestDatabase : public TBaseDatabase {
public:
    using TBaseDatabase::TBaseDatabase;

    std::string driverType() const override { return "TEST"; }

    TBaseTable* openTable(const OpenTableArgs& args) override {
        if (args.tableName == "BROKEN")
            throw std::logic_error("driver fault");
        if (args.tableName != "PEOPLE" && args.tableName != "t")
            raiseEngineErrorText(dbierr::NOSUCHTABLE, args.tableName);
        auto* cursor = new TestCursor(fivePeople(), &cursors(), this, args.tableName);
        cursor->openCursor();
        return cursor;
    }

    TBaseTable* openTableList(const std::string&, bool, bool) override {
        const std::size_t size = 574;
        std::vector<Byte> records(2 * size, 0);
        putText(records.data(), 0, 261, "PEOPLE");
        putText(records.data(), size, 261, "Ums\x84tze"); // native (OEM) text
        if (descriptor().physicalName.find("BROKEN") != std::string::npos)
            return new FailingListTable(this, 2, records.data(), size, &cursors());
        return new TBaseListTable(this, 2, records.data(), size, &cursors());
    }
};

class TestSession : public TBaseSession {
public:
    TestSession(TBapiListItem* engine, const std::string& directory, const std::string& name,
                TTorvaneCollection* collection, bool translates)
        : TBaseSession(engine, directory, name, collection) {
        noAnsiToOem_ = !translates;
        noOemToAnsi_ = !translates;
        registryInfo_.baseKey = "\\Software\\Torvane\\Test";
    }

    std::string driverType() const override { return "TEST"; }
    void setPathsAreFiles(bool files) { pathsAreFiles_ = files; }

    TBaseDatabase* createDatabase(const DatabaseDesc& descriptor,
                                  const OpenDatabaseArgs& args) override {
        return new TestDatabase(this, &databases(), &descriptor, args.openMode, args.shareMode,
                                args.password, args.params);
    }
};

inline SessionFactory testSessions(bool translates = true) {
    return [translates](TBapiListItem* engine, const std::string& directory,
                        const std::string& name, TTorvaneCollection* sessions) {
        return new TestSession(engine, directory, name, sessions, translates);
    };
}

} // namespace accessdb::testing
