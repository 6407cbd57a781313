#include "core/SortResults.h"
#include "core/SettingsList.h"
#include "platform/fs/AtomicFile.h"
#include "tests/support/MailingOf.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace quillan;

namespace {

// Two trays, three packages, four ZIP groups; record 17 rejected, record 5 a co-sacked
// piece without ZIP+4 (a negative ZIP value that is not a rejection).
void buildResult(test::TestMailing& m, const std::string& classCode) {
    m.mailClass = *MailClass::fromCode(classCode);
    m.counters = MailingCounters{};
    m.counters.rejectedCount = 1;
    WorkTables& t = m.tables;
    t = {};
    t.containers = {{10, ContainerKind::FiveDigit, ContainerLevel::FiveDigit, EntryDiscount::None,
                     "SPRINGFIELD MA 01234"},
                    {9, ContainerKind::ThreeDigit, ContainerLevel::ThreeDigit, EntryDiscount::Dscf,
                     "DALLAS TX 752"}};
    t.sortGroups = {{GroupKind::FiveDigit, 1234, 6, 0, false},
                    {GroupKind::FiveDigit, 1234, 4, 0, true},
                    {GroupKind::ThreeDigit, 752, 9, 1, false}};
    t.zipGroups = {{1234, 6, 0, 0}, {-1234, 4, 0, 1}, {75201, 5, 2, 2}, {75202, 4, 0, 2}};
    for (int32_t r = 1; r <= 20; ++r)
        t.pieces.push_back(
            {.zip = r <= 10 ? 1234 : 75201, .city = t.cities.add("CITY " + std::to_string(r))});
    t.pieces[4].withoutZip4 = true;
    t.pieces[16] = {
        .zip = 12345, .rejection = ZipRejection::Form, .city = t.cities.add("PLANO TX")};
}

std::string expectedFile(const std::string& classCode, const char* secondFlag) {
    std::vector<std::string> lines = {
        "20", "1", classCode, "4", "4", "3",
        // containers
        "SPRINGFIELD MA 01234", "10", "None", "5-Digit", "DALLAS TX 752", "9", "DSCF", "3-Digit",
        // sort groups
        "5D 01234", "6", "1", "0", "5D 01234", "4", "1", secondFlag, "3D 752", "9", "2", "0",
        // ZIP groups
        "1234", "6", "0", "1", "-1234", "4", "0", "2", "75201", "5", "2", "3", "75202", "4", "0",
        "3",
        // rejected records
        "1", "17", "-212345", "PLANO TX"};
    return SettingsList(lines).toBytes();
}

std::string fileBytes(AppContext& ctx) {
    return platform::readFileBytes(ctx.sortResultPath()).value_or("<no file>");
}

void writeFile(AppContext& ctx, const std::string& bytes) {
    ASSERT_TRUE(platform::writeFileAtomically(ctx.sortResultPath(), bytes).ok);
}

// Counters a failed load must leave alone.
void setSentinels(test::TestMailing& m) {
    m.counters = MailingCounters{};
    m.counters.missingZip4Count = 777;
    m.counters.rejectedCount = 55;
    m.mailClass = *MailClass::fromCode("FAL");
}

void save(const test::TestMailing& m, const AppContext& ctx) {
    SaveSortResults(test::mailingOf(m, ctx.lists), ctx.sortResultPath());
}

// Why the context's sort-result file is refused, or "loaded".
std::string refusal(const AppContext& ctx, SortResultPart part) {
    try {
        LoadSortResults(ctx.sortResultPath(), part, ctx.lists);
        return "loaded";
    } catch (const SortResultError& e) {
        return e.what();
    }
}

void expectSentinels(const test::TestMailing& m) {
    EXPECT_EQ(m.counters.missingZip4Count, 777);
    EXPECT_EQ(m.counters.rejectedCount, 55);
    EXPECT_EQ(m.mailClass.code(), "FAL");
}

} // namespace

TEST(SortResults, SaveWritesOneValuePerLineInTheFixedOrder) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    test::TestMailing m;

    buildResult(m, "RAL");
    save(m, ctx);
    EXPECT_EQ(fileBytes(ctx), expectedFile("RAL", "0")) << "RAL writes 0 whatever the flag";

    buildResult(m, "PCOF");
    save(m, ctx);
    EXPECT_EQ(fileBytes(ctx), expectedFile("PCOF", "1")) << "co-sacked classes keep the flag";

    // A sort without rejects ends with N = 0 and nothing after it.
    buildResult(m, "RAL");
    m.tables.pieces[16] = {.zip = 75201};
    m.counters.rejectedCount = 0;
    m.tables.zipGroups[3].pieces = 5;
    save(m, ctx);
    std::string bytes = fileBytes(ctx);
    EXPECT_TRUE(bytes.ends_with("\r\n3\r\n0\r\n")) << bytes;
}

TEST(SortResults, CompleteLoadRestoresEveryTableAndCounter) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    test::TestMailing m;
    buildResult(m, "PCOF");
    // Line breaks inside a text must not shift the values after it.
    m.tables.containers[1].destination = "DALLAS\r\nTX 752";
    m.tables.pieces[16].city = m.tables.cities.add("PLANO\nTX");
    save(m, ctx);
    WorkTables saved = m.tables;

    m.tables = {};
    setSentinels(m);
    ASSERT_TRUE(test::loadSortResults(m, ctx, SortResultPart::Complete));

    EXPECT_EQ(m.counters.rejectedCount, 1);
    EXPECT_EQ(m.mailClass.code(), "PCOF");
    // Only the rejected record comes back; every other record keeps only its place.
    WorkTables expected = saved;
    expected.containers[1].destination = "DALLAS  TX 752";
    expected.pieces.assign(20, Piece{});
    expected.cities = {};
    expected.pieces[16] = {
        .zip = 12345, .rejection = ZipRejection::Form, .city = expected.cities.add("PLANO TX")};
    EXPECT_EQ(m.tables, expected);
    EXPECT_FALSE(env.ui.busyCursor());
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST(SortResults, LabelsLoadRestoresOnlyTheHeaderAndContainers) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    test::TestMailing m;
    buildResult(m, "RAL");
    save(m, ctx);
    WorkTables saved = m.tables;
    m.tables = {};

    ASSERT_TRUE(test::loadSortResults(m, ctx, SortResultPart::Labels));
    WorkTables expected;
    expected.containers = saved.containers;
    expected.pieces.assign(20, Piece{});
    EXPECT_EQ(m.tables, expected);
    EXPECT_EQ(m.mailClass.code(), "RAL");
}

TEST(SortResults, RejectedRecordsKeepTheirZipAndReasonThroughTheFile) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    const std::string file =
        SettingsList(std::vector<std::string>{"3", "3", "RNAF", "0", "1", "1", "3", "1", "-200012",
                                              "", "2", "-600600", "NOWHERE XX", "3", "-775299",
                                              "PLANO TX"})
            .toBytes();
    writeFile(ctx, file);
    test::TestMailing m;
    ASSERT_TRUE(test::loadSortResults(m, ctx));
    CityNames cities;
    EXPECT_EQ(m.tables.pieces, (std::vector<Piece>{{.zip = 12, .rejection = ZipRejection::Form},
                                                   {.zip = 600,
                                                    .rejection = ZipRejection::NotServed,
                                                    .city = cities.add("NOWHERE XX")},
                                                   {.zip = 75299,
                                                    .rejection = ZipRejection::Zip4Missing,
                                                    .city = cities.add("PLANO TX")}}));
    EXPECT_EQ(m.tables.cities, cities);
    save(m, ctx);
    EXPECT_EQ(fileBytes(ctx), file);
}

TEST(SortResults, WithoutAFileTheUserIsToldToSortFirst) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    test::TestMailing m;
    buildResult(m, "RAL"); // untouched by a load that finds no file
    WorkTables before = m.tables;

    EXPECT_FALSE(test::loadSortResults(m, ctx, SortResultPart::Complete));
    EXPECT_EQ(refusal(ctx, SortResultPart::Labels),
              "You must sort a file before you print sack labels or reprint a report.");
    EXPECT_EQ(m.tables, before);
}

TEST(SortResults, SaveFailureThrowsAndWritesNothing) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    test::TestMailing m;
    buildResult(m, "RAL");
    std::filesystem::create_directory(ctx.sortResultPath());
    EXPECT_THROW(save(m, ctx), FileError);
    std::filesystem::remove(ctx.sortResultPath());

    EXPECT_FALSE(platform::fileExists(ctx.sortResultPath()));
}

namespace {

struct Damage {
    const char* what;
    size_t line; // 1-based line to replace, 0 to keep only the first `keep` lines
    const char* text;
    size_t keep;
    const char* reason; // part of the message that says why
};

std::string damaged(const Damage& d) {
    std::vector<std::string> lines = SettingsList::splitLines(expectedFile("PCOF", "1"));
    if (d.line == 0)
        lines.resize(d.keep);
    else
        lines[d.line - 1] = d.text;
    return SettingsList(lines).toBytes();
}

} // namespace

TEST(SortResults, DamagedFileIsRefusedWithAMessageAndSeededTables) {
    const Damage cases[] = {
        {"empty file", 0, "", 0, "it is empty"},
        {"header only", 0, "", 6, "ends after line 6,"},
        {"cut inside the containers", 0, "", 9, "ends after line 9,"},
        {"last city missing", 0, "", 45, "ends after line 45,"},
        {"negative record count", 1, "-3", 0, "line 1 holds"},
        {"more records than a mailing holds", 1, "100001", 0, "line 1 holds '100001'"},
        {"fewer records than the groups hold", 1, "19", 0, "ZIP groups hold 19 pieces"},
        {"more rejects than records", 2, "21", 0, "line 2 holds"},
        {"no sort-group counter", 5, "0", 0, "line 5 holds"},
        {"tray count not a number", 6, "three", 0, "line 6 holds"},
        {"an entry no tray has", 9, "DNDC", 0, "line 9 holds 'DNDC'"},
        {"a level no tray has", 14, "3-digit", 0, "line 14 holds '3-digit'"},
        {"a group label of no kind", 15, "XX 01234", 0, "line 15 holds 'XX 01234'"},
        {"a 5-digit key of four digits", 19, "5D 1234", 0, "line 19 holds '5D 1234'"},
        {"a mixed group with a key", 23, "MA 752", 0, "line 23 holds 'MA 752'"},
        {"package in a tray that does not exist", 17, "3", 0, "line 17 holds"},
        {"flag other than 0 or 1", 18, "2", 0, "line 18 holds"},
        {"ZIP group owned by no package", 30, "4", 0, "line 30 holds"},
        {"more in-county pieces than pieces", 37, "6", 0, "line 37 holds"},
        {"rejected record beyond the records", 44, "21", 0, "line 44 holds"},
        {"rejected record with a valid ZIP", 45, "75201", 0, "line 45 holds"},
        {"rejected for no reason a ZIP has", 45, "-312345", 0, "line 45 holds '-312345'"},
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.what);
        test::TestEnvironment env(test::geographyFolder());
        AppContext& ctx = env.context();
        test::TestMailing m;
        setSentinels(m);
        writeFile(ctx, damaged(d));
        for (SortResultPart part : {SortResultPart::Complete, SortResultPart::Labels}) {
            EXPECT_FALSE(test::loadSortResults(m, ctx, part));
            EXPECT_EQ(m.tables, WorkTables{});
            expectSentinels(m);
        }
        const std::string why = refusal(ctx, SortResultPart::Complete);
        EXPECT_NE(why.find("cannot be used"), std::string::npos);
        EXPECT_NE(why.find(d.reason), std::string::npos) << why;
    }
}

TEST(SortResults, RandomlyDamagedFilesNeverCrash) {
    test::TestEnvironment env(test::geographyFolder());
    AppContext& ctx = env.context();
    test::TestMailing m;
    const std::string valid = expectedFile("PCOF", "1");
    const char* replacements[] = {"",        "-1",         "0",           "1",           "3",
                                  "21",      "2147483647", "-2147483648", "99999999999", "x",
                                  "-212345", "\x80\xff"};
    int loaded = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 rng(seed);
        std::vector<std::string> lines = SettingsList::splitLines(valid);
        std::string bytes;
        switch (rng() % 4) {
        case 0: // cut anywhere, even inside a line end
            bytes = valid.substr(0, rng() % valid.size());
            break;
        case 1:
            lines[rng() % lines.size()] = replacements[rng() % std::size(replacements)];
            bytes = SettingsList(lines).toBytes();
            break;
        case 2:
            lines.erase(lines.begin() + static_cast<long>(rng() % lines.size()));
            bytes = SettingsList(lines).toBytes();
            break;
        default:
            bytes = valid;
            bytes[rng() % bytes.size()] = static_cast<char>(rng() % 256);
        }
        writeFile(ctx, bytes);
        m.tables = {};
        setSentinels(m);
        const SortResultPart part = seed % 2 ? SortResultPart::Complete : SortResultPart::Labels;
        if (!test::loadSortResults(m, ctx, part)) {
            EXPECT_EQ(m.tables, WorkTables{}) << "seed " << seed;
            expectSentinels(m);
            continue;
        }
        ++loaded;
        const WorkTables& t = m.tables;
        for (const SortGroup& group : t.sortGroups)
            EXPECT_LT(group.container, static_cast<int32_t>(t.containers.size())) << seed;
        for (const ZipGroup& zip : t.zipGroups)
            EXPECT_LT(zip.owner, static_cast<int32_t>(t.sortGroups.size())) << seed;
        EXPECT_LE(t.pieces.size(), 20u) << seed;
    }
    // Some damage leaves a readable file (a changed label); most does not.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 400);
}
