// Damaged lists, read unattended: whatever the bytes, opening ends with records or with a
// message, never with a crash or a hang.

#include "tests/listio/ComponentListSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace quillan;
using namespace quillan::test;

namespace {

std::string fixtureBytes(const std::string& name) {
    std::ifstream in(fixturePath("lists/" + name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string mutate(std::string bytes, std::mt19937& rng, size_t headerBytes) {
    static const char special[] = {'\0', '\r',   '\n',   '"',    ',', '\t', '|',
                                   ' ',  '\x0D', '\xFF', '\xD2', '*', '-',  '9'};
    int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        // Half the edits fall into the header, where the damage matters most.
        size_t span = rng() % 2 && headerBytes ? std::min(headerBytes, bytes.size()) : bytes.size();
        size_t at = rng() % span;
        switch (rng() % 5) {
        case 0:
            bytes[at] = special[rng() % sizeof special];
            break;
        case 1:
            bytes[at] = static_cast<char>(rng());
            break;
        case 2:
            bytes.insert(at, 1, special[rng() % sizeof special]);
            break;
        case 3:
            bytes.erase(at, 1 + rng() % 16);
            break;
        default:
            bytes.resize(at);
            break;
        }
    }
    return bytes;
}

// Opens `rounds` mutations of the list; returns how many were refused as unreadable files.
int fuzz(const std::string& name, const std::string& original, size_t headerBytes,
         int rounds = 1000) {
    std::mt19937 rng(20240601);
    ListFixture probe;
    std::string path = probe.env.folder() + name;
    ListFixture f({path, "NOSTOP"});
    // Read only: a workbook or table whose sort field cannot be found still gets read.
    f.setLine(&SettingsLists::prefsList, 2, "1");
    int unreadable = 0;
    for (int i = 0; i < rounds; ++i) {
        f.write(name, mutate(original, rng, headerBytes));
        f.ui().clearRecords();
        std::string read = f.open(path, 0);
        if (read.empty()) {
            EXPECT_EQ(f.reading.mailing.tables.pieces.size(), 0u) << "nothing read, nothing kept";
            // A refusal always says why.
            const std::vector<std::string> said = f.messageTexts();
            EXPECT_FALSE(said.empty()) << "mutation " << i << " refused in silence";
            if (!said.empty() && said[0].rfind("Quillan could not read " + name + ". ", 0) == 0)
                ++unreadable;
        } else {
            EXPECT_GT(f.reading.mailing.recordCount(), 0) << "a list read holds records";
        }
        EXPECT_TRUE(f.ui().unexpected().empty());
        if (::testing::Test::HasFailure())
            break;
    }
    return unreadable;
}

std::string smallDbase() {
    std::ifstream in(fixturePath("lists/small.dbf"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(Fuzz, MutatedTextListsNeverCrash) {
    fuzz("list.txt", fixtureBytes("golden-merge.txt"), 64);
}

TEST(Fuzz, MutatedDbaseTablesNeverCrash) {
    std::string table = smallDbase();
    ASSERT_GT(table.size(), 300u);
    fuzz("list.dbf", table, 32 * 9);
}

TEST(Fuzz, MutatedWorkbooksNeverCrash) {
    ListFixture probe;
    std::string path = probe.env.folder() + "book.xls";
    SheetRows rows = {{"NAME", "CITY", "ST", "ZIP"}};
    for (int i = 0; i < 12; ++i)
        rows.push_back({"Person " + std::to_string(i), "DALLAS", "TX", 75201.0 + i % 2});
    writeWorkbook(path, {{"List", rows}});
    EXPECT_GT(fuzz("list.xls", platform::readFileBytes(path).value(), 512, 500), 0)
        << "some mutations are refused as unreadable workbooks";
}

TEST(Fuzz, MutatedAccessTablesNeverCrash) {
    ListFixture probe;
    std::string path = probe.env.folder() + "table.mdb";
    std::vector<std::string> records;
    for (int i = 0; i < 12; ++i)
        records.push_back("Person " + std::to_string(i) + "\t1 MAIN ST\tDALLAS\tTX\t7520" +
                          std::to_string(1 + i % 2) + "\tDALLAS");
    accessTable(path, records);
    EXPECT_GT(fuzz("list.mdb", platform::readFileBytes(path).value(), 4096, 500), 0)
        << "some mutations are refused as unreadable tables";
}

TEST(Fuzz, TruncatedOrRandomWorkbooksAndTablesAreRefusedWithTheLibrarysWords) {
    ListFixture probe;
    std::string book = probe.env.folder() + "book.xls";
    writeWorkbook(book, {{"List", {{"NAME", "ZIP"}, {"Ann", "75201"}}}});
    std::string table =
        accessTable(probe.env.folder() + "table.mdb", {"Ann\tx\tDALLAS\tTX\t75201"});
    std::mt19937 rng(7);
    std::string noise(20000, '\0');
    for (char& c : noise)
        c = static_cast<char>(rng());
    const std::string bookBytes = platform::readFileBytes(book).value();
    const std::string tableBytes = platform::readFileBytes(table).value();
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"cut.xls", bookBytes.substr(0, bookBytes.size() / 2)},
             {"noise.xls", noise},
             {"cut.mdb", tableBytes.substr(0, tableBytes.size() / 2)},
             {"noise.mdb", noise}}) {
        ListFixture f;
        f.setLine(&SettingsLists::prefsList, 2, "1");
        EXPECT_EQ(f.open(f.write(name, bytes), 0), "") << name;
        ASSERT_EQ(f.messageTexts().size(), 1u) << name;
        const std::string text = f.messageTexts()[0];
        const std::string prefix = "Quillan could not read " + name + ". ";
        EXPECT_EQ(text.rfind(prefix, 0), 0u) << text;
        // The library's words say the file is damaged, on one line, with none of the
        // engine's internal codes and names.
        EXPECT_NE(text.find("damaged"), std::string::npos) << text;
        for (const char* internal : {"\r", "\n", "DBIERR_", "Torvane", "assertion"})
            EXPECT_EQ(text.find(internal), std::string::npos) << internal << " in " << text;
    }
}
