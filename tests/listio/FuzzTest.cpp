// Damaged lists, read unattended: whatever the bytes, opening ends with records or with a
// message, never with a crash or a hang.

#include "tests/listio/ListTestSupport.h"

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

void fuzz(const std::string& name, const std::string& original, size_t headerBytes) {
    std::mt19937 rng(20240601);
    ListFixture probe;
    std::string path = probe.env.folder() + name;
    ListFixture f({path, "NOSTOP"});
    for (int i = 0; i < 1000; ++i) {
        f.write(name, mutate(original, rng, headerBytes));
        f.ctx().tables.seed(true);
        f.ctx().listFileKind.clear();
        std::string read = f.open(path, 0);
        if (read.empty()) {
            ASSERT_EQ(f.ctx().tables.pieceZips.size(), 1u) << "nothing read, nothing kept";
        } else {
            const auto& t = f.ctx().tables;
            ASSERT_EQ(t.pieceZips.size(), t.pieceCities.size());
            ASSERT_EQ(t.pieceZips.size(), t.pieceInCounty.size());
            ASSERT_EQ(static_cast<int32_t>(t.pieceZips.size()) - 1, f.ctx().counters.recordCount);
        }
        ASSERT_TRUE(f.ui().unexpected().empty());
    }
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
