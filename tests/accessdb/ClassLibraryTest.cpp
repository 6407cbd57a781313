#include "tests/accessdb/TestCursor.h"

#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/FilterTextParser.h"
#include "accessdb/classlib/TComponent.h"
#include "accessdb/classlib/TStringList.h"
#include "accessdb/classlib/Variant.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/FilterExpression.h"

#include <gtest/gtest.h>

using namespace accessdb;
using namespace accessdb::testing;

TEST(Variants, ConvertStrictly) {
    EXPECT_EQ(Variant("000123").toInt64(), 123);
    EXPECT_EQ(Variant(" 42 ").toInt64(), 42);
    EXPECT_THROW(Variant("abc").toInt64(), EConvertError);
    EXPECT_THROW(Variant("12x").toInt64(), EConvertError);
    EXPECT_THROW(Variant("").toDouble(), EConvertError);
    EXPECT_DOUBLE_EQ(Variant("2.5").toDouble(), 2.5);
    EXPECT_EQ(Variant(2.5).toString(), "2.5");
    EXPECT_EQ(Variant(std::int64_t{7}).toString(), "7");
    EXPECT_TRUE(Variant("True").toBool());
    EXPECT_FALSE(Variant("f").toBool());
    EXPECT_THROW(Variant("maybe").toBool(), EConvertError);
    EXPECT_TRUE(Variant().isNull());
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant(3.6).toInt64(), 4);
}

TEST(StringLists, NameValueLinesAndChangeHooks) {
    TStringList list{"PATH=C:\\data", "USER NAME="};
    EXPECT_EQ(list.values("path"), "C:\\data");
    EXPECT_EQ(list.indexOfName("user name"), 1);
    EXPECT_EQ(list.values("USER NAME"), "");
    list.setValue("PASSWORD", "x");
    EXPECT_EQ(list[2], "PASSWORD=x");
    list.setValue("PASSWORD", "");
    EXPECT_EQ(list.count(), 2);
    EXPECT_THROW(list[5], EListError);

    int changes = 0;
    list.onChange = [&] { ++changes; };
    list.beginUpdate();
    list.add("A=1");
    list.endUpdate();
    list.add("B=2");
    EXPECT_EQ(changes, 1);

    // A hook that refuses the change leaves the list as it was.
    list.onChanging = [] { throw EDatabaseError("closed only"); };
    EXPECT_THROW(list.clear(), EDatabaseError);
    EXPECT_EQ(list.count(), 4);
}

namespace {

struct Watcher : TComponent {
    using TComponent::freeNotification;
    using TComponent::TComponent;
    std::vector<TComponent*> removed;
    std::vector<TComponent*> inserted;
    int loadedCalls = 0;
    void announce() { notifyInserted(); }

protected:
    void notification(TComponent* c, Operation op) override {
        (op == Operation::Remove ? removed : inserted).push_back(c);
    }
    void loaded() override { ++loadedCalls; }
};

} // namespace

TEST(Components, OwnersFreeTheirComponentsAndPartnersHearOfIt) {
    Watcher outsider(nullptr);
    {
        Watcher form(nullptr);
        auto* child = new Watcher(&form);
        auto* sibling = new Watcher(&form);
        child->announce();
        EXPECT_EQ(form.inserted, std::vector<TComponent*>{child});
        EXPECT_EQ(sibling->inserted, std::vector<TComponent*>{child});
        outsider.freeNotification(child);
        delete sibling;
        EXPECT_EQ(form.removed, std::vector<TComponent*>{sibling});
        EXPECT_EQ(form.components().size(), 1u);
    }
    // The form freed the child, and the outsider was told.
    ASSERT_EQ(outsider.removed.size(), 1u);
    outsider.beginLoading();
    EXPECT_TRUE(outsider.loading());
    outsider.endLoading();
    EXPECT_EQ(outsider.loadedCalls, 1);
}

namespace {

std::optional<FilterFieldType> peopleFields(const std::string& name) {
    if (equalsIgnoreCase(name, "ID"))
        return FilterFieldType{fldtype::INT32, 4};
    if (equalsIgnoreCase(name, "NAME"))
        return FilterFieldType{fldtype::ZSTRING, 21};
    if (equalsIgnoreCase(name, "FLAG"))
        return FilterFieldType{fldtype::BOOL, 2};
    return std::nullopt;
}

std::vector<std::int32_t> matching(const std::string& text, bool caseInsensitive = false,
                                   bool noPartial = false) {
    std::vector<Row> rows = fivePeople();
    rows[1].flag = true;
    rows[3].name = "";
    TestCursor cursor(rows);
    FilterTextParser parser(peopleFields, caseInsensitive, noPartial);
    std::vector<Byte> blob = parser.parse(text);
    std::vector<std::int32_t> ids;
    std::vector<Byte> record(cursor.recordBufferSize());
    for (const Row& row : rows) {
        cursor.fill(record.data(), row);
        if (FilterExpression(blob, cursor, record.data()).evaluate())
            ids.push_back(row.id);
    }
    return ids;
}

} // namespace

TEST(FilterText, ComparisonsAndLogic) {
    using Ids = std::vector<std::int32_t>;
    EXPECT_EQ(matching("ID > 20 and ID <= 40"), (Ids{30, 40}));
    EXPECT_EQ(matching("ID = 10 or (NAME = 'Eve')"), (Ids{10, 50}));
    EXPECT_EQ(matching("not ID <> 30"), (Ids{30}));
    EXPECT_EQ(matching("NAME >= 'C'"), (Ids{30, 50})); // row 40 has no name
    EXPECT_EQ(matching("[NAME] = \"Bob\""), (Ids{20}));
    EXPECT_EQ(matching("FLAG = TRUE"), (Ids{20}));
    EXPECT_EQ(matching("ID = '30'"), (Ids{30}));
    EXPECT_EQ(matching("NAME = 'ann'"), Ids{});
    EXPECT_EQ(matching("NAME = 'ann'", true), (Ids{10}));
    EXPECT_EQ(matching("NAME = 'B*'"), (Ids{20}));
    EXPECT_EQ(matching("NAME = 'B*'", false, true), Ids{});
    EXPECT_EQ(matching("NAME is null"), (Ids{40}));
    EXPECT_EQ(matching("NAME IS NOT NULL and ID < 30"), (Ids{10, 20}));
    EXPECT_EQ(matching("NAME = null"), (Ids{40}));
}

TEST(FilterText, MalformedTextIsADatabaseError) {
    for (const char* text : {"", "ID >", "ID = 'open", "(ID = 1", "ID = 1 1", "ID ! 3", "ID = 'x'",
                             "NAME > NULL", "ID is 3", "[NAME = 1"})
        EXPECT_THROW(matching(text), EDatabaseError) << text;
}
