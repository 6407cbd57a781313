// A workbook written back in the version it was read in keeps what the library does not
// model: every record other than the cells, counted by type in each substream, and its
// defined names byte for byte.

#include "StructureCheck.h"
#include "XlsTestSupport.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

using namespace xls;
using namespace xls::test;

namespace {

// Records that are the cells' own (values, formulas and what follows them, the shared
// strings) or that only locate records (INDEX, DBCELL, EXTSST), and the pieces of long
// records: a writer makes them anew.
bool isCellMatter(uint16_t id) {
    static const std::set<uint16_t> ids = {0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,
                                           0x0206, 0x0406, 0x0201, 0x0203, 0x0204, 0x0205, 0x027E,
                                           0x007E, 0x00BD, 0x00BE, 0x00D6, 0x00FD, 0x0207, 0x0221,
                                           0x04BC, 0x00BC, 0x00FC, 0x00FF, 0x003C, 0x020B, 0x00D7};
    return ids.count(id) > 0;
}

bool isBof(uint16_t id) {
    return id == 0x0009 || id == 0x0209 || id == 0x0409 || id == 0x0809;
}

// Record counts by id, one map per top-level substream (an embedded chart counts in the
// sheet that holds it); what stands between substreams (the padding of a stream) is no
// record of any.
std::vector<std::map<uint16_t, int>> countsBySubstream(const std::string& stream) {
    std::vector<std::map<uint16_t, int>> substreams;
    int depth = 0;
    for (const RawRecord& r : recordsOf(stream)) {
        if (isBof(r.id) && depth++ == 0)
            substreams.emplace_back();
        if (depth == 0)
            continue;
        if (!isCellMatter(r.id))
            ++substreams.back()[r.id];
        if (r.id == 0x000A)
            --depth;
    }
    return substreams;
}

std::vector<std::string> nameBodies(const std::string& stream) {
    std::vector<std::string> names;
    for (const RawRecord& r : recordsOf(stream))
        if (r.id == 0x0018 || r.id == 0x0218)
            names.push_back(r.body);
    return names;
}

// A structure problem without its positions and numbers.
std::string kindOfProblem(const std::string& problem) {
    std::string kind;
    for (char c : problem)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            kind += c;
        else if (kind.empty() || kind.back() != '#')
            kind += '#';
    return kind;
}

std::string workbookStream(const std::string& file) {
    XlsStream stream;
    stream.openReadBytes(file);
    std::string bytes(stream.size(), '\0');
    stream.read(bytes.data(), bytes.size());
    return bytes;
}

std::string describe(const std::map<uint16_t, int>& before, const std::map<uint16_t, int>& after) {
    std::string text;
    std::set<uint16_t> ids;
    for (const auto& [id, n] : before)
        ids.insert(id);
    for (const auto& [id, n] : after)
        ids.insert(id);
    for (uint16_t id : ids) {
        int a = before.count(id) ? before.at(id) : 0;
        int b = after.count(id) ? after.at(id) : 0;
        if (a != b) {
            char buffer[48];
            std::snprintf(buffer, sizeof buffer, " %04X:%d->%d", id, a, b);
            text += buffer;
        }
    }
    return text;
}

} // namespace

TEST(WriteBackTest, EveryCorpusWorkbookKeepsItsRecordsAndNames) {
    SKIP_WITHOUT_CORPUS();
    int written = 0;
    for (const std::string& path : corpusWorkbooks()) {
        std::string file = readFile(path);
        Workbook book;
        book.preserveMacros = true;
        book.setFilename(path);
        try {
            book.read();
        } catch (const std::exception&) {
            continue; // damaged or encrypted: refused on reading, which other tests check
        }
        if (book.version() < ExcelVersion::Excel40)
            continue;
        std::string out;
        try {
            book.writeToStream(out);
        } catch (const std::exception& e) {
            ADD_FAILURE() << path << ": " << e.what();
            continue;
        }
        ++written;
        std::string before = workbookStream(file);
        std::string after = workbookStream(out);
        auto countsBefore = countsBySubstream(before);
        auto countsAfter = countsBySubstream(after);
        if (countsBefore.size() != countsAfter.size()) {
            ADD_FAILURE() << path << ": " << countsBefore.size() << " substreams became "
                          << countsAfter.size();
            continue;
        }
        for (size_t i = 0; i < countsBefore.size(); ++i)
            if (countsBefore[i] != countsAfter[i])
                ADD_FAILURE() << path << " substream " << i << ":"
                              << describe(countsBefore[i], countsAfter[i]);
        EXPECT_EQ(nameBodies(before), nameBodies(after)) << path;
        // No fault of the structure that the file did not have already.
        std::set<std::string> faultsBefore;
        for (const std::string& problem : checkWorkbookStructure(file))
            faultsBefore.insert(kindOfProblem(problem));
        for (const std::string& problem : checkWorkbookStructure(out))
            EXPECT_TRUE(faultsBefore.count(kindOfProblem(problem))) << path << ": " << problem;
    }
    EXPECT_GT(written, 200);
}
