#include "xls/CellStorage.h"
#include "xls/XlsError.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace xls;

namespace {

std::vector<std::pair<int, int>> walk(CellStorage& store) {
    std::vector<std::pair<int, int>> seen;
    store.beginIterate();
    while (Cell* cell = store.nextCell())
        seen.emplace_back(cell->column(), cell->row());
    return seen;
}

} // namespace

TEST(CellStorageTest, IteratesRowByRowWhateverTheOrderOfStoring) {
    CellStorage store;
    store.set(Cell::integer(cellKey(2, 1), 21, -1));
    store.set(Cell::integer(cellKey(0, 0), 0, -1));
    store.set(Cell::integer(cellKey(1, 0), 10, -1));
    EXPECT_EQ(walk(store), (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}}));

    // Far corners and many blocks: the walk visits every cell once, in key order.
    CellStorage big;
    std::vector<int32_t> keys;
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i)
        keys.push_back(
            cellKey(static_cast<int>(random() % 256), static_cast<int>(random() % 65536)));
    keys.push_back(cellKey(255, 65535));
    keys.push_back(cellKey(0, 0));
    for (int32_t key : keys)
        big.set(Cell::blank(key, -1));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<int32_t> walked;
    big.beginIterate();
    while (Cell* cell = big.nextCell())
        walked.push_back(cell->key());
    EXPECT_EQ(walked, keys);
    EXPECT_EQ(big.nextCell(), nullptr) << "the walk stays at its end";
}

// Cells move when their block grows past the room it was given, whether the sheet announced
// its columns or not: every value, format and formula must move with them.
TEST(CellStorageTest, CellsKeepTheirValuesAsTheirBlocksGrow) {
    for (bool announced : {false, true}) {
        SCOPED_TRACE(announced ? "columns announced" : "no columns announced");
        CellStorage store;
        if (announced)
            store.expectColumns(0, 5); // a list of six fields, then cells beyond them
        std::vector<int32_t> keys;
        for (int row = 0; row < 300; ++row)
            for (int col : {0, 1, 2, 3, 4, 5, 9, 15, 16, 17, 40, 255})
                keys.push_back(cellKey(col, row));
        std::shuffle(keys.begin(), keys.end(), std::mt19937(3));
        for (int32_t key : keys) {
            if (key % 7 == 0)
                store.set(
                    Cell::formula(CellType::NumberFormula, key, std::to_string(key), key % 50));
            else
                store.set(Cell::integer(key, key, key % 50));
        }
        store.set(Cell::blank(cellKey(3, 0), -1)); // a replacement keeps the format
        size_t walked = 0;
        store.beginIterate();
        while (Cell* cell = store.nextCell()) {
            ++walked;
            const int32_t key = cell->key();
            ASSERT_EQ(cell->xf(), key % 50);
            if (key == cellKey(3, 0))
                EXPECT_EQ(cell->type(), CellType::Blank);
            else if (key % 7 == 0)
                ASSERT_EQ(cell->tokens(), std::to_string(key));
            else
                ASSERT_EQ(cell->integer(), key);
        }
        EXPECT_EQ(walked, keys.size());
        ASSERT_NE(store.get(cellKey(255, 299)), nullptr);
        EXPECT_EQ(store.get(cellKey(255, 299))->key(), cellKey(255, 299));
        EXPECT_EQ(store.get(cellKey(6, 299)), nullptr);
    }
}

TEST(CellStorageTest, AddressesOutsideTheSheetRaiseRangeErrors) {
    CellStorage store;
    EXPECT_THROW(cellKey(0, 65536), RangeError);
    EXPECT_THROW(cellKey(256, 0), RangeError) << "a column above 255 must not fold onto column 0";
    EXPECT_THROW(cellKey(-1, 0), RangeError);
    EXPECT_THROW(store.get(65536 * 256), RangeError);
    EXPECT_THROW(store.get(-1), RangeError);
    EXPECT_THROW(Cell::blank(-5, 0), RangeError);
    EXPECT_EQ(store.get(cellKey(255, 65535)), nullptr);
}

TEST(CellStorageTest, ReplacingACellKeepsItsFormatUnlessANewOneIsGiven) {
    CellStorage store;
    int32_t key = cellKey(3, 4);
    store.set(Cell::integer(key, 1, 5));
    store.set(Cell::number(key, 2.5, -1));
    ASSERT_NE(store.get(key), nullptr);
    EXPECT_EQ(store.get(key)->xf(), 5);
    EXPECT_EQ(store.get(key)->type(), CellType::Float);
    EXPECT_EQ(store.get(key)->number(), 2.5);

    store.set(Cell::integer(key, 3, 7));
    EXPECT_EQ(store.get(key)->xf(), 7);
    store.set(Cell::blank(key, 0));
    EXPECT_EQ(store.get(key)->xf(), 7) << "XF 0 counts as no format given";

    store.set(Cell::blank(cellKey(0, 9), -1));
    EXPECT_EQ(store.get(cellKey(0, 9))->xf(), -1) << "nothing to inherit in an empty slot";
}

TEST(CellStorageTest, DimensionsAndClear) {
    CellStorage store;
    CellStorage::Dimensions none = store.calcDimensions();
    EXPECT_EQ(std::vector<int>({none.firstCol, none.lastCol, none.firstRow, none.lastRow}),
              std::vector<int>({0, 0, 0, 0}));

    store.set(Cell::blank(cellKey(7, 300), -1));
    store.set(Cell::blank(cellKey(2, 900), -1));
    store.set(Cell::blank(cellKey(40, 12), -1));
    CellStorage::Dimensions d = store.calcDimensions();
    EXPECT_EQ(std::vector<int>({d.firstCol, d.lastCol, d.firstRow, d.lastRow}),
              std::vector<int>({2, 40, 12, 900}));

    store.set(Cell::blank(cellKey(255, 65535), -1));
    store.set(Cell::blank(cellKey(0, 0), -1));
    d = store.calcDimensions();
    EXPECT_EQ(std::vector<int>({d.firstCol, d.lastCol, d.firstRow, d.lastRow}),
              std::vector<int>({0, 255, 0, 65535}));

    ASSERT_NE(store.get(cellKey(7, 300)), nullptr); // now the cached cell
    store.clear();
    EXPECT_EQ(store.get(cellKey(7, 300)), nullptr) << "the cache must not outlive Clear";
    EXPECT_TRUE(walk(store).empty());
}

TEST(CellStorageTest, FormulaCellsOwnTheirTokensAndCopiesDropTheResult) {
    std::string tokens("\x1E\x02\x00", 3);
    Cell formula = Cell::formula(CellType::NumberFormula, cellKey(1, 1), tokens, 3);
    formula.setNumberResult(2);
    tokens[1] = 9;
    EXPECT_EQ(formula.tokens(), std::string("\x1E\x02\x00", 3));
    Cell copy = formula.makeCopy();
    EXPECT_EQ(copy.type(), CellType::NumberFormula);
    EXPECT_EQ(copy.tokens(), formula.tokens());
    EXPECT_EQ(copy.xf(), 3);
    EXPECT_EQ(copy.number(), 0);

    Cell array = Cell::arrayFormula(cellKey(0, 0), "\x01", "\x02\x03", 4.5, -1);
    EXPECT_EQ(array.makeCopy().arrayData(), "\x02\x03");
    EXPECT_THROW(Cell::formula(CellType::Float, 0, "", -1), XlsError);
    EXPECT_THROW(Cell::formula(CellType::ArrayFormula, 0, "", -1), XlsError);
}

// A cell packs its type beside the key and keeps a boolean or error where a number would
// be: every kind keeps its key, type, format and value, at the sheet's last corner too, as
// it moves into and around the store and into a copy.
TEST(CellStorageTest, EveryKindOfCellKeepsItsKeyTypeFormatAndValue) {
    const int32_t corner = cellKey(255, 65535);
    CellStorage store;
    store.set(Cell::boolean(corner, true, 4000));
    store.set(Cell::error(cellKey(254, 65535), 0x2A, 0));
    store.set(Cell::number(cellKey(253, 65535), -1.5, 70000));
    store.set(Cell::string(cellKey(0, 65535), 12345, 15));
    Cell formula = Cell::formula(CellType::ErrorFormula, cellKey(1, 65535), "\x1E", 8);
    formula.setByteResult(7);
    store.set(std::move(formula));
    for (int col = 2; col < 240; ++col) // widens the row's blocks around the cells above
        store.set(Cell::integer(cellKey(col, 65535), col, -1));

    const Cell* boolean = store.get(corner);
    ASSERT_NE(boolean, nullptr);
    EXPECT_EQ(boolean->type(), CellType::Boolean);
    EXPECT_EQ(boolean->column(), 255);
    EXPECT_EQ(boolean->row(), 65535);
    EXPECT_TRUE(boolean->boolean());
    EXPECT_EQ(boolean->xf(), 4000);
    EXPECT_EQ(boolean->makeCopy().key(), corner);
    EXPECT_TRUE(boolean->makeCopy().boolean());
    EXPECT_EQ(store.get(cellKey(254, 65535))->errorOrdinal(), 0x2A);
    EXPECT_EQ(store.get(cellKey(253, 65535))->number(), -1.5);
    EXPECT_EQ(store.get(cellKey(253, 65535))->xf(), 70000);
    EXPECT_EQ(store.get(cellKey(0, 65535))->sstIndex(), 12345);
    const Cell* stored = store.get(cellKey(1, 65535));
    EXPECT_EQ(stored->type(), CellType::ErrorFormula);
    EXPECT_EQ(stored->errorOrdinal(), 7);
    EXPECT_EQ(stored->tokens(), "\x1E");
    EXPECT_EQ(stored->makeCopy().errorOrdinal(), 0) << "a copy of a formula has no result";
    EXPECT_EQ(store.get(cellKey(100, 65535))->integer(), 100);
    EXPECT_EQ(store.get(cellKey(100, 65535))->xf(), -1);
    EXPECT_EQ(Cell().type(), CellType::None);
    EXPECT_THROW(Cell::blank(65536 * 256, 0), RangeError) << "past the last row";
}
