#include "tests/accessdb/TestDataSet.h"
#include "tests/accessdb/TestDriver.h"

#include "accessdb/classlib/Bcd.h"
#include "accessdb/components/ETDBEngineError.h"
#include "accessdb/engine/ETorvaneEngineError.h"
#include "accessdb/engine/TMemTable.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;

namespace {

// An in-memory table that records how the dataset changes it.
class SpyMemTable : public TMemTable {
public:
    using TMemTable::TMemTable;
    void modifyRecord(Byte* buffer, bool freeLock) override {
        if (refuse)
            raiseEngineError(0x2601);
        modifyLocks.push_back(freeLock);
        TMemTable::modifyRecord(buffer, freeLock);
    }
    void insertRecord(LockType lock, Byte* buffer) override {
        insertLocks.push_back(lock);
        TMemTable::insertRecord(lock, buffer);
    }
    std::vector<bool> modifyLocks;
    std::vector<LockType> insertLocks;
    bool refuse = false;
};

struct DataSetTest : ::testing::Test {
    TVirtEng engine{testSessions()};
    TBaseDatabase* db = nullptr;
    SpyMemTable* table = nullptr;
    std::unique_ptr<CursorDataSet> dataSet;

    void SetUp() override {
        EngineParams params;
        ASSERT_EQ(engine.OpenDatabase("C:\\data", "", 0, 0, "", params, db), 0);
        std::vector<FieldDesc> fields = {
            fieldDesc("NAME", fldtype::ZSTRING, 10), fieldDesc("ZIP", fldtype::INT32),
            fieldDesc("SORT", fldtype::ZSTRING, 4), fieldDesc("TRAY", fldtype::INT16, 0, 1)};
        table = new SpyMemTable(db, nullptr, fields, 0, "LIST", &db->cursors());
        for (auto [name, zip] : {std::pair{"Ann", 75201}, {"Bob", 10001}, {"Cy", 60601}}) {
            std::vector<Byte> row(table->recordBufferSize(), 0);
            putText(row.data(), 0, 11, name);
            putI32(row.data(), 11, zip);
            table->appendRecord(row.data());
        }
        dataSet = std::make_unique<CursorDataSet>(engine, table);
    }

    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (dataSet->first(); !dataSet->eof(); dataSet->next())
            out.push_back(dataSet->fieldByName("NAME").asString());
        return out;
    }
};

} // namespace

TEST_F(DataSetTest, WalksToTheEndWithoutRaising) {
    dataSet->open();
    ASSERT_EQ(dataSet->fieldCount(), 4);
    EXPECT_EQ(dataSet->fields(0).dataType(), TFieldType::String);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "Cy"}));
    EXPECT_TRUE(dataSet->eof());
    EXPECT_EQ(dataSet->fieldByName("name").asString(), "Cy"); // the last row stays active
    dataSet->prior();
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Bob");
    dataSet->last();
    EXPECT_EQ(dataSet->fieldByName("ZIP").asInteger(), 60601);
    EXPECT_TRUE(dataSet->eof());
    EXPECT_FALSE(dataSet->bof());
    dataSet->first();
    EXPECT_TRUE(dataSet->bof());
    EXPECT_FALSE(dataSet->eof());
    dataSet->prior();
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Ann") << "before the first row stays";
    EXPECT_EQ(dataSet->recordCount(), 3);
    EXPECT_EQ(dataSet->rowNumber(), -1);
    EXPECT_THROW(dataSet->fieldByName("MISSING"), EDatabaseError);
}

TEST_F(DataSetTest, MovingOnPostsAnEditWithOneModification) {
    dataSet->open();
    dataSet->next();
    dataSet->edit();
    dataSet->fieldByName("SORT").setAsString("0007");
    dataSet->next();
    EXPECT_EQ(table->modifyLocks, std::vector<bool>{true});
    EXPECT_EQ(dataSet->state(), TDataSetState::Browse);
    dataSet->prior();
    EXPECT_EQ(dataSet->fieldByName("SORT").asString(), "0007");

    // An edit that changed nothing is cancelled, not posted.
    dataSet->edit();
    dataSet->next();
    EXPECT_EQ(table->modifyLocks.size(), 1u);
    EXPECT_THROW(dataSet->fieldByName("SORT").setAsString("1"), EDatabaseError);
}

TEST_F(DataSetTest, InsertsPostWithoutALockAndCancelRestoresTheRow) {
    dataSet->open();
    dataSet->insert();
    dataSet->fieldByName("NAME").setAsString("Dee");
    dataSet->fieldByName("ZIP").setAsInteger(30301);
    dataSet->post();
    EXPECT_EQ(table->insertLocks, std::vector<LockType>{LockType::None});
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Dee");
    EXPECT_EQ(dataSet->recordCount(), 4);

    dataSet->first();
    dataSet->insert();
    dataSet->fieldByName("NAME").setAsString("Zed");
    dataSet->cancel();
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Dee");
    EXPECT_EQ(dataSet->recordCount(), 4);
}

TEST_F(DataSetTest, DeletingAVanishedRowIsSilent) {
    dataSet->open();
    dataSet->next();
    ASSERT_EQ(engine.DeleteRecord(table, nullptr), 0); // someone else took it
    EXPECT_NO_THROW(dataSet->deleteRecord());
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Cy");
    dataSet->deleteRecord();
    EXPECT_EQ(names(), std::vector<std::string>{"Ann"});
}

TEST_F(DataSetTest, TextAssignmentConvertsAndChecks) {
    dataSet->open();
    dataSet->edit();
    TField& zip = dataSet->fieldByName("ZIP");
    zip.setAsString("000123");
    EXPECT_EQ(zip.asInteger(), 123);
    EXPECT_THROW(zip.setAsString("abc"), EConvertError);

    TField& sort = dataSet->fieldByName("SORT");
    sort.setAsString("12");
    EXPECT_THROW(sort.setAsString("000123"), EDatabaseError);
    EXPECT_EQ(sort.asString(), "12"); // unchanged

    TField& tray = dataSet->fieldByName("TRAY");
    EXPECT_EQ(tray.dataType(), TFieldType::Smallint);
    tray.setAsInteger(255);
    EXPECT_EQ(tray.asInteger(), 255);
    EXPECT_THROW(tray.setAsInteger(300), EDatabaseError);
    EXPECT_THROW(tray.setAsInteger(-1), EDatabaseError);
    dataSet->post();
    EXPECT_EQ(dataSet->fieldByName("TRAY").asInteger(), 255);
}

TEST_F(DataSetTest, FieldDefinitionsFollowTheDescriptors) {
    std::vector<FieldDesc> fields = {fieldDesc("A", fldtype::ZSTRING, 5),
                                     fieldDesc("A", fldtype::INT32),
                                     fieldDesc("a", fldtype::FLOAT),
                                     fieldDesc("W", fldtype::INT16, 0, 4),
                                     fieldDesc("BIG", fldtype::INT64, 0, 8),
                                     fieldDesc("AUTO", fldtype::INT32),
                                     fieldDesc("EMPTY", fldtype::ZSTRING, 0, 1)};
    fields[5].subType = 29;
    TBaseTable* mem = db->createInMemTable("DEFS", fields);
    CursorDataSet defs(engine, mem);
    defs.open();
    TFieldDefs& d = defs.fieldDefs();
    ASSERT_EQ(d.count(), 7);
    EXPECT_EQ(d.items(0).name, "A");
    EXPECT_EQ(d.items(1).name, "A_1");
    EXPECT_EQ(d.items(2).name, "a_2");
    EXPECT_EQ(static_cast<int>(d.items(0).dataType), 1);
    EXPECT_EQ(static_cast<int>(d.items(1).dataType), 3);
    EXPECT_EQ(static_cast<int>(d.items(2).dataType), 6);
    EXPECT_EQ(d.items(3).dataType, TFieldType::Unknown);
    EXPECT_EQ(static_cast<int>(d.items(4).dataType), 25);
    EXPECT_EQ(d.items(5).dataType, TFieldType::AutoInc);
    EXPECT_EQ(d.items(6).dataType, TFieldType::Unknown);
    EXPECT_EQ(defs.fieldCount(), 5); // unknown types make no field
    EXPECT_TRUE(defs.isEmpty());
}

TEST_F(DataSetTest, FiltersLocateAndBookmarks) {
    dataSet->open();
    dataSet->setFilter("ZIP >= 60000");
    dataSet->setFiltered(true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Cy"}));
    dataSet->setFilter("NAME = 'b*'");
    dataSet->setFilterOptions({true, false});
    EXPECT_EQ(names(), std::vector<std::string>{"Bob"});
    dataSet->setFiltered(false);
    dataSet->setFilter("");
    dataSet->setOnFilterRecord(
        [](TDataSet& ds, bool& accept) { accept = ds.fieldByName("NAME").asString() != "Bob"; });
    dataSet->setFiltered(true);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Cy"}));
    dataSet->setFiltered(false);
    EXPECT_THROW(dataSet->setFilter("NAME = "), EDatabaseError);

    EXPECT_TRUE(dataSet->locate("ZIP", {Variant(10001)}));
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Bob");
    Bookmark bob = dataSet->getBookmark();
    EXPECT_TRUE(dataSet->locate("name", {Variant("CY")}, {true, false}));
    EXPECT_FALSE(dataSet->locate("NAME", {Variant("Nobody")}));
    EXPECT_EQ(dataSet->lookup("NAME", {Variant("Ann")}, "ZIP").toInt64(), 75201);
    EXPECT_TRUE(dataSet->lookup("NAME", {Variant("Nobody")}, "ZIP").isNull());
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Cy");
    dataSet->gotoBookmark(bob);
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Bob");
    EXPECT_EQ(dataSet->compareBookmarks(bob, dataSet->getBookmark()), 0);
    EXPECT_TRUE(dataSet->bookmarkValid(bob));
}

TEST_F(DataSetTest, EditOnAnEmptyDatasetStartsAnInsert) {
    TBaseTable* mem = db->createInMemTable("EMPTY", {fieldDesc("NAME", fldtype::ZSTRING, 10)});
    CursorDataSet empty(engine, mem);
    empty.open();
    EXPECT_TRUE(empty.isEmpty() && empty.eof() && empty.bof());
    empty.edit();
    EXPECT_EQ(empty.state(), TDataSetState::Insert);
    empty.fieldByName("NAME").setAsString("First");
    empty.post();
    EXPECT_FALSE(empty.isEmpty());
    EXPECT_EQ(empty.recordCount(), 1);
}

TEST_F(DataSetTest, EventsAndCalculatedFields) {
    std::vector<std::string> seen;
    dataSet->beforePost = [&](TDataSet&) { seen.push_back("beforePost"); };
    dataSet->afterScroll = [&](TDataSet&) { seen.push_back("scroll"); };
    auto calc = std::make_unique<TIntegerField>("ZIP3");
    calc->setFieldKind(TFieldKind::Calculated);
    dataSet->addField(std::move(calc));
    dataSet->onCalcFields = [](TDataSet& ds) {
        ds.fieldByName("ZIP3").setAsInteger(ds.fieldByName("ZIP").asInteger() / 100);
    };
    dataSet->open();
    EXPECT_EQ(dataSet->fieldByName("ZIP3").asInteger(), 752);
    dataSet->next();
    EXPECT_EQ(dataSet->fieldByName("ZIP3").asInteger(), 100);
    EXPECT_EQ(seen, (std::vector<std::string>{"scroll", "scroll"}));
    dataSet->close();
    EXPECT_FALSE(dataSet->active());
    EXPECT_EQ(dataSet->fieldCount(), 1); // the program's own field stays
}

TEST_F(DataSetTest, MovingByAndBlockReading) {
    dataSet->open();
    EXPECT_EQ(dataSet->moveBy(5), 2);
    EXPECT_TRUE(dataSet->eof());
    EXPECT_EQ(dataSet->moveBy(-1), -1);
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Bob");
    EXPECT_EQ(dataSet->moveBy(-5), -1);
    EXPECT_TRUE(dataSet->bof());

    // Reading in blocks delivers the same rows.
    dataSet->first();
    dataSet->setBlockReadSize(10);
    std::vector<std::string> seen{dataSet->fieldByName("NAME").asString()};
    for (dataSet->next(); !dataSet->eof(); dataSet->next())
        seen.push_back(dataSet->fieldByName("NAME").asString());
    EXPECT_EQ(seen, (std::vector<std::string>{"Ann", "Bob", "Cy"}));
    dataSet->setBlockReadSize(0);
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "Cy"}));
}

TEST_F(DataSetTest, CachedUpdatesKeepChangesPending) {
    dataSet->open();
    EXPECT_THROW(dataSet->oldValue(dataSet->fieldByName("NAME")), EDatabaseError);
    dataSet->setCachedUpdates(true);
    dataSet->edit();
    dataSet->fieldByName("NAME").setAsString("Annie");
    dataSet->post();
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Annie");
    EXPECT_EQ(dataSet->updateStatus(), UpdateStatus::Modified);
    EXPECT_EQ(dataSet->oldValue(dataSet->fieldByName("NAME")).toString(), "Ann");
    EXPECT_TRUE(table->modifyLocks.empty()); // nothing reached the table yet
    dataSet->setCachedUpdates(false);
    EXPECT_EQ(dataSet->fieldByName("NAME").asString(), "Ann"); // the pending change went
}

namespace {

// Applies each change by noting it, as an update object that writes through SQL would.
class NotingUpdates : public TDataSetUpdateObject {
public:
    void apply(UpdateKind kind) override {
        TField& name = dataSet()->fieldByName("NAME");
        noted.push_back(std::to_string(static_cast<int>(kind)) + " " +
                        dataSet()->oldValue(name).toString() + ">" +
                        dataSet()->newValue(name).toString());
    }
    std::vector<std::string> noted;
};

} // namespace

TEST_F(DataSetTest, CachedChangesGoThroughTheUpdateHandlers) {
    dataSet->open();
    dataSet->setCachedUpdates(true);
    auto rename = [&](const char* from, const char* to) {
        ASSERT_TRUE(dataSet->locate("NAME", {Variant(from)}));
        dataSet->edit();
        dataSet->fieldByName("NAME").setAsString(to);
        dataSet->post();
    };
    rename("Ann", "Annie");
    rename("Bob", "Bobby");

    // The update object applies them in its own way; the table is not touched.
    NotingUpdates updates;
    updates.setDataSet(dataSet.get());
    EXPECT_EQ(dataSet->updateObject(), &updates);
    dataSet->applyUpdates();
    EXPECT_EQ(updates.noted, (std::vector<std::string>{"0 Bob>Bobby", "0 Ann>Annie"}));
    EXPECT_TRUE(table->modifyLocks.empty());
    CursorDataSet other(engine, nullptr);
    dataSet->setUpdateObject(nullptr);
    EXPECT_EQ(updates.dataSet(), nullptr) << "bound both ways";
    other.setUpdateObject(&updates);
    updates.setDataSet(dataSet.get());
    EXPECT_EQ(other.updateObject(), nullptr) << "an update object serves one data set";
    dataSet->setUpdateObject(nullptr);

    // OnUpdateRecord comes first; a change it leaves failed stays pending and is reported.
    rename("Cy", "Cyril");
    rename("Ann", "Anna"); // an applied change shows what the table holds
    std::vector<std::string> seen;
    dataSet->onUpdateRecord = [&](TDataSet&, UpdateKind, UpdateAction& action) {
        std::string now = dataSet->newValue(dataSet->fieldByName("NAME")).toString();
        seen.push_back(now);
        if (now == "Cyril")
            action = UpdateAction::Skip;
    };
    EXPECT_THROW(dataSet->applyUpdates(), EDatabaseError) << "Anna left failed";
    EXPECT_EQ(seen, (std::vector<std::string>{"Cyril", "Anna"})) << "Bobby is applied already";
    dataSet->onUpdateRecord = nullptr;

    // Without handlers the engine writes them; a refusal goes to OnUpdateError.
    table->refuse = true;
    std::vector<Status> refusals;
    dataSet->onUpdateError = [&](TDataSet&, const EDatabaseError& error, UpdateKind,
                                 UpdateAction& action) {
        refusals.push_back(static_cast<const ETDBEngineError&>(error).errorCode());
        table->refuse = refusals.size() < 2;
        action = refusals.size() < 2 ? UpdateAction::Skip : UpdateAction::Retry;
    };
    dataSet->applyUpdates();
    EXPECT_EQ(refusals, (std::vector<Status>{0x2601, 0x2601}));
    EXPECT_EQ(table->modifyLocks.size(), 1u) << "Cyril was skipped, Anna tried again";
    dataSet->cancelUpdates();
    dataSet->setCachedUpdates(false);
    EXPECT_EQ(names(), (std::vector<std::string>{"Anna", "Bob", "Cy"}))
        << "Bobby went to the update object, Cyril was dropped";
}

TEST_F(DataSetTest, FindingRefreshingAndNestedDataSets) {
    dataSet->open();
    dataSet->setFilter("ZIP > 50000");
    auto name = [&] { return dataSet->fieldByName("NAME").asString(); };
    ASSERT_TRUE(dataSet->findFirst());
    EXPECT_EQ(name(), "Ann");
    ASSERT_TRUE(dataSet->findNext());
    EXPECT_EQ(name(), "Cy");
    EXPECT_FALSE(dataSet->findNext());
    ASSERT_TRUE(dataSet->findLast());
    EXPECT_EQ(name(), "Cy");
    ASSERT_TRUE(dataSet->findPrior());
    EXPECT_EQ(name(), "Ann");
    EXPECT_FALSE(dataSet->filtered());
    EXPECT_EQ(names(), (std::vector<std::string>{"Ann", "Bob", "Cy"})) << "the filter only found";

    // A change under the data set shows after a refresh.
    dataSet->first();
    std::vector<Byte> row(table->recordBufferSize(), 0);
    table->setToBegin();
    table->getNextRecord(LockType::None, row.data(), nullptr);
    putText(row.data(), 0, 11, "Anna");
    table->modifyRecord(row.data(), true);
    dataSet->refresh();
    EXPECT_EQ(name(), "Anna");

    // A nested data set goes to its first row when its parent moves to another record.
    std::vector<FieldDesc> fields = {fieldDesc("ITEM", fldtype::ZSTRING, 10)};
    auto* items = new TMemTable(db, nullptr, fields, 0, "ITEMS", &db->cursors());
    for (const char* item : {"pen", "ink"}) {
        std::vector<Byte> line(items->recordBufferSize(), 0);
        putText(line.data(), 0, 11, item);
        items->appendRecord(line.data());
    }
    CursorDataSet nested(engine, items);
    dataSet->addNestedDataSet(&nested);
    nested.open();
    auto item = [&] { return nested.fieldByName("ITEM").asString(); };
    nested.next();
    dataSet->gotoBookmark(dataSet->getBookmark());
    EXPECT_EQ(item(), "pen") << "the first parent record it sees";
    nested.next();
    dataSet->gotoBookmark(dataSet->getBookmark());
    EXPECT_EQ(item(), "ink") << "the same parent record: it stays";
    dataSet->next();
    EXPECT_EQ(item(), "pen");
    dataSet->removeNestedDataSet(&nested);
    EXPECT_EQ(nested.parentDataSet(), nullptr);
}

TEST(BcdTest, DecimalsKeepEveryDigitAndRoundTheirPlaces) {
    auto text = [](const std::string& decimal, int precision, int places) {
        std::optional<BcdBytes> bcd = bcdFromText(decimal, precision, places);
        return bcd ? bcdToText(bcd->data()) : std::string("refused");
    };
    EXPECT_EQ(text("12345678901234567890123456789.012", 32, 3),
              "12345678901234567890123456789.012");
    EXPECT_EQ(text("-1.005", 10, 2), "-1.01");
    EXPECT_EQ(text("9.995", 4, 2), "10.00") << "rounding carries into the whole part";
    EXPECT_EQ(text("9.995", 3, 2), "refused") << "and then no longer fits";
    EXPECT_EQ(text("-0.004", 5, 2), "0.00") << "no negative zero";
    EXPECT_EQ(text(" 42 ", 5, 0), "42");
    for (const char* wrong : {"", "-", "1.2.3", "1e5", "12a"})
        EXPECT_EQ(text(wrong, 10, 2), "refused") << wrong;
    EXPECT_EQ(text("1", 33, 0), "refused") << "at most 32 digits";
    auto field = createField(TFieldType::BCD, "AMOUNT", 2, 12);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(static_cast<TBCDField&>(*field).precision(), 12);
    EXPECT_EQ(field->dataSize(), 34);
}
