#include "accessdb/classlib/Exceptions.h"
#include "accessdb/classlib/TDataSet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace accessdb;

namespace {

// A dataset that keeps each field's exchange form in a map: enough to test the fields'
// conversions and checks without an engine.
class BufferDataSet : public TDataSet {
public:
    BufferDataSet() : TDataSet(nullptr) {}

    bool getFieldData(TField& field, Byte* buffer) override {
        auto it = data_.find(&field);
        if (it == data_.end())
            return false;
        if (buffer)
            std::memcpy(buffer, it->second.data(), it->second.size());
        return true;
    }
    void setFieldData(TField& field, const Byte* buffer) override {
        if (!buffer) {
            data_.erase(&field);
            return;
        }
        std::size_t size = static_cast<std::size_t>(field.dataSize());
        data_[&field].assign(buffer, buffer + size);
        ++writes;
    }
    std::string getBlobFieldData(TField& field) override { return blobs_[&field]; }
    void setBlobFieldData(TField& field, const std::string& data) override {
        blobs_[&field] = data;
    }

    template <typename F>
    F& add(std::unique_ptr<F> field) {
        F& ref = *field;
        addField(std::move(field));
        return ref;
    }
    int writes = 0;

protected:
    void openDataset() override {}
    void closeDataset() override {}
    std::size_t engineRecordSize() const override { return 0; }
    std::size_t bookmarkSize() const override { return 0; }
    FetchResult fetchRow(Byte*, FetchMode, bool) override { return FetchResult::End; }
    void cursorToStart() override {}
    void cursorToEnd() override {}
    void initRowBuffer(Byte*) override {}
    void beginRowEdit(Byte*) override {}
    void beginRowInsert() override {}
    void postRow(Byte*) override {}
    void deleteRow() override {}
    void cancelRowEdit() override {}
    void gotoRowBookmark(const Byte*) override {}
    bool isRowBookmarkValid(const Byte*) override { return false; }
    int compareRowBookmarks(const Byte*, const Byte*) override { return 0; }
    int rowCount() override { return 0; }
    bool locateRow(const std::vector<TField*>&, const std::vector<Variant>&, LocateOptions,
                   Byte*) override {
        return false;
    }

private:
    std::map<TField*, std::vector<Byte>> data_;
    std::map<TField*, std::string> blobs_;
};

} // namespace

TEST(Fields, IntegersKeepToTheRangeOfTheirStorage) {
    BufferDataSet ds;
    auto& small = ds.add(std::make_unique<TSmallintField>("S"));
    auto& word = ds.add(std::make_unique<TWordField>("W"));
    auto& big = ds.add(std::make_unique<TLargeintField>("L"));
    auto& whole = ds.add(std::make_unique<TIntegerField>("I"));
    small.setAsInteger(-32768);
    EXPECT_EQ(small.asInteger(), -32768);
    EXPECT_THROW(small.setAsInteger(32768), EDatabaseError);
    small.setEngineLength(1);
    EXPECT_THROW(small.setAsInteger(-5), EDatabaseError);
    word.setAsString("65535");
    EXPECT_EQ(word.asInteger(), 65535);
    EXPECT_THROW(word.setAsInteger(-1), EDatabaseError);
    big.setAsString("9000000000");
    EXPECT_EQ(big.asString(), "9000000000");
    EXPECT_THROW(whole.setAsString("9000000000"), EDatabaseError);
    try {
        whole.setAsInteger(3000000000LL);
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "3e+09 is not a valid value for field 'I'. The allowed range is "
                               "-2.14748e+09 to 2.14748e+09");
    }
    whole.setAsFloat(41.6);
    EXPECT_EQ(whole.asInteger(), 42);
    whole.clear();
    EXPECT_TRUE(whole.isNull());
    EXPECT_EQ(whole.asString(), "");
}

TEST(Fields, TextsBooleansFloatsAndBytes) {
    BufferDataSet ds;
    auto& text = ds.add(std::make_unique<TStringField>("T", 5));
    auto& flag = ds.add(std::make_unique<TBooleanField>("B"));
    auto& real = ds.add(std::make_unique<TFloatField>("F"));
    auto& raw = ds.add(std::make_unique<TBytesField>("R", 3));
    auto& memo = ds.add(std::make_unique<TBlobField>("M", 0, TFieldType::Memo));
    text.setAsString("12345");
    EXPECT_EQ(text.asString(), "12345");
    int writes = ds.writes;
    EXPECT_THROW(text.setAsString("123456"), EDatabaseError);
    EXPECT_EQ(ds.writes, writes);
    EXPECT_EQ(text.asInteger(), 12345);
    flag.setAsString("True");
    EXPECT_TRUE(flag.asBoolean());
    EXPECT_EQ(flag.asString(), "True");
    flag.setAsBoolean(false);
    EXPECT_EQ(flag.asInteger(), 0);
    real.setAsString("2.75");
    EXPECT_DOUBLE_EQ(real.asFloat(), 2.75);
    EXPECT_THROW(real.setAsString("two"), EConvertError);
    raw.setAsString("ab");
    EXPECT_EQ(raw.asString(), std::string("ab\0", 3));
    EXPECT_THROW(raw.setAsString("abcd"), EDatabaseError);
    EXPECT_TRUE(memo.isNull());
    memo.setAsString("a long note");
    EXPECT_EQ(memo.asString(), "a long note");
    EXPECT_EQ(memo.dataType(), TFieldType::Memo);
}

TEST(Fields, DatesTravelAsTimestamps) {
    BufferDataSet ds;
    auto& stamp = ds.add(std::make_unique<TDateTimeField>("D"));
    auto& day = ds.add(std::make_unique<TDateTimeField>("DAY", TFieldType::Date));
    auto& clock = ds.add(std::make_unique<TDateTimeField>("TIME", TFieldType::Time));
    // 1 April 2003, 6 in the evening: 37712.75 days after 30 December 1899.
    stamp.setAsFloat(37712.75);
    EXPECT_EQ(stamp.asString(), "4/1/2003 18:00:00");
    Byte stored[8];
    ds.getFieldData(stamp, stored);
    double ms;
    std::memcpy(&ms, stored, 8);
    EXPECT_DOUBLE_EQ(ms, (37712.75 + 693594.0) * 86400000.0);
    stamp.setAsFloat(37712.0);
    EXPECT_EQ(stamp.asString(), "4/1/2003");
    day.setAsFloat(2.0);
    EXPECT_EQ(day.asString(), "1/1/1900");
    clock.setAsFloat(0.5);
    EXPECT_EQ(clock.asString(), "12:00:00");
}

TEST(Fields, MadeByTypeAndFoundByName) {
    EXPECT_EQ(createField(TFieldType::BCD, "X", 0)->dataType(), TFieldType::BCD);
    EXPECT_EQ(createField(TFieldType::ADT, "X", 0), nullptr);
    EXPECT_EQ(createField(TFieldType::Unknown, "X", 0), nullptr);
    EXPECT_EQ(createField(TFieldType::AutoInc, "X", 0)->dataSize(), 4);
    EXPECT_EQ(createField(TFieldType::Currency, "X", 0)->dataType(), TFieldType::Currency);
    EXPECT_EQ(createField(TFieldType::FixedChar, "X", 3)->dataSize(), 4);

    BufferDataSet ds;
    ds.add(std::make_unique<TIntegerField>("Zip"));
    EXPECT_NE(ds.findField("ZIP"), nullptr);
    EXPECT_EQ(ds.findField("CITY"), nullptr);
    try {
        ds.fieldByName("CITY");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'CITY' not found");
    }
    EXPECT_THROW(ds.fields(3), EDatabaseError);
    EXPECT_THROW(ds.edit(), EDatabaseError); // closed
}
