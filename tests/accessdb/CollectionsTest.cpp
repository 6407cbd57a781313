#include "accessdb/classlib/Exceptions.h"
#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TBapiListItem.h"
#include "accessdb/engine/TSortedCollection.h"

#include <gtest/gtest.h>

using namespace accessdb;

namespace {

struct Item : TBapiListItem {
    Item(int k, TTorvaneCollection* c, int* freed = nullptr)
        : TBapiListItem(nullptr, nullptr), key(k), freedCount(freed) {
        if (c)
            c->insert(this);
    }
    ~Item() override {
        if (freedCount)
            ++*freedCount;
        delete sibling; // an item that takes another with it
    }
    int key;
    int* freedCount;
    Item* sibling = nullptr;
};

struct IntSorted : TSortedCollection {
    const void* keyOf(TBapiListItem* item) const override { return &static_cast<Item*>(item)->key; }
    int compare(const void* a, const void* b) const override {
        int x = *static_cast<const int*>(a);
        int y = *static_cast<const int*>(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
};

int keyAt(const TTorvaneCollection& c, int i) {
    return static_cast<Item*>(c.at(i))->key;
}

} // namespace

TEST(Collections, SortedInsertKeepsKeyOrderWithOrWithoutDuplicates) {
    IntSorted withDuplicates;
    auto* first5 = new Item(5, &withDuplicates);
    new Item(1, &withDuplicates);
    auto* second5 = new Item(5, &withDuplicates);
    new Item(9, &withDuplicates);
    ASSERT_EQ(withDuplicates.count(), 4);
    EXPECT_EQ(keyAt(withDuplicates, 0), 1);
    EXPECT_EQ(withDuplicates.at(1), second5); // a new equal item goes first
    EXPECT_EQ(withDuplicates.at(2), first5);
    int index = -1;
    int key = 7;
    EXPECT_FALSE(withDuplicates.search(&key, index));
    EXPECT_EQ(index, 3);

    IntSorted unique;
    unique.duplicates = false;
    new Item(5, &unique);
    Item lonely(5, &unique);
    EXPECT_EQ(unique.count(), 1);
    EXPECT_EQ(lonely.collection(), nullptr); // not listed, and not freed by the collection
}

TEST(Collections, FreeingFreesEachItemOnceEvenWhenItemsFreeEachOther) {
    int freed = 0;
    {
        TTorvaneCollection c;
        auto* a = new Item(1, &c, &freed);
        auto* b = new Item(2, &c, &freed);
        new Item(3, &c, &freed);
        auto* d = new Item(4, &c, &freed);
        d->sibling = b; // freeing d frees b, which unlists itself
        a->sibling = nullptr;
        EXPECT_EQ(a->indexInCollection(), 0);
        EXPECT_EQ(d->indexInCollection(), 3);
    }
    EXPECT_EQ(freed, 4);
}

TEST(Collections, IndexingAndUnlisting) {
    TTorvaneCollection c;
    auto* a = new Item(1, &c);
    Item b(2, nullptr);
    EXPECT_EQ(c.at(5), nullptr);
    EXPECT_THROW(c.atChecked(5), EListError);
    c.insertAt(0, &b);
    EXPECT_EQ(c.indexOf(&b), 0);
    c.remove(&b);
    EXPECT_EQ(b.collection(), nullptr);
    EXPECT_EQ(c.indexOf(&b), -1);
    delete a;
    EXPECT_EQ(c.count(), 0);
}

TEST(EngineText, PathAndStringHelpers) {
    EXPECT_EQ(includeBackslash("C:\\data"), "C:\\data\\");
    EXPECT_EQ(includeBackslash("C:\\data\\"), "C:\\data\\");
    EXPECT_EQ(includeBackslash(""), "\\");
    EXPECT_FALSE(isPathName("list.mdb", false));
    EXPECT_TRUE(isPathName("list.mdb", true));
    EXPECT_TRUE(isPathName("C:list", false));
    EXPECT_EQ(removeChar("\"a\"b", '"'), "ab");
    std::string text = "abcabc";
    std::string x = "XY";
    EXPECT_TRUE(replaceSubStr(text, "bc", &x, 5));
    EXPECT_EQ(text, "aXYab");
    EXPECT_FALSE(replaceSubStr(text, "zz", nullptr, 10));
    EXPECT_EQ(truncateAtChar("t;x", ';'), "t");
    const Byte a[] = {1, 200};
    const Byte b[] = {1, 100};
    EXPECT_EQ(compareBytes(a, b, 2), 1);
    EXPECT_EQ(compareBytes(a, b, 1), 0);
}
