// A workbook written back in the version it was read in: each record the writer makes anew
// from the model (page setup, header and footer, code names, fonts, column and window
// settings, links to other workbooks, validations, ...) decoded field by field, equal to the
// record read except where a change of the model explains it.

#include "RecordFields.h"
#include "XlsTestSupport.h"
#include "xls/Workbook.h"
#include "xls/XlsStream.h"

#include <gtest/gtest.h>

#include <map>

using namespace xls;
using namespace xls::test;

namespace {

// Fields a write may change, each with the reason. "*" stands for every field of the record.
struct Allowed {
    const char* record;
    const char* field;
    const char* reason;
};
const Allowed AllowList[] = {
    {"BOF", "build", "the writer names its own build"},
    {"BOF", "year", "the writer names its own build"},
    {"DIMENSIONS", "*", "the used range is the cells', and the test sets one"},
    {"ROW", "first column", "a row's used columns are its cells'"},
    {"ROW", "column after the last", "a row's used columns are its cells'"},
    {"FORMAT", "malformed",
     "a text counted longer than the characters stored is written with the count of those"},
};

bool allowed(const std::string& record, const std::string& field) {
    for (const Allowed& entry : AllowList)
        if (record == entry.record && (field == entry.field || std::string(entry.field) == "*"))
            return true;
    return false;
}

std::string workbookStream(const std::string& file) {
    XlsStream stream;
    stream.openReadBytes(file);
    std::string bytes(stream.size(), '\0');
    stream.read(bytes.data(), bytes.size());
    return bytes;
}

// The differences between the made records of two workbook streams, one line each.
std::vector<std::string> fieldDifferences(const std::string& before, const std::string& after) {
    std::vector<SubstreamRecords> old = madeRecordsOf(before);
    std::vector<SubstreamRecords> made = madeRecordsOf(after);
    std::vector<std::string> differences;
    if (old.size() != made.size())
        return {std::to_string(old.size()) + " substreams became " + std::to_string(made.size())};
    for (size_t s = 0; s < old.size(); ++s) {
        std::map<uint16_t, std::vector<const DecodedRecord*>> was, is;
        for (const auto& [id, record] : old[s].records)
            was[id].push_back(&record);
        for (const auto& [id, record] : made[s].records)
            is[id].push_back(&record);
        for (const auto& [id, records] : was) {
            const std::vector<const DecodedRecord*>& written = is[id];
            std::string where = "substream " + std::to_string(s) + " " + records[0]->name;
            if (records.size() != written.size() && !allowed(records[0]->name, "count")) {
                differences.push_back(where + ": " + std::to_string(records.size()) +
                                      " records became " + std::to_string(written.size()));
                continue;
            }
            for (size_t k = 0; k < records.size() && k < written.size(); ++k) {
                std::map<std::string, std::string> fields;
                for (const RecordField& field : written[k]->fields)
                    fields[field.name] = field.value;
                std::map<std::string, std::string> oldFields;
                for (const RecordField& field : records[k]->fields)
                    oldFields[field.name] = field.value;
                if (oldFields.count("malformed") && allowed(records[0]->name, "malformed"))
                    continue;
                for (const auto& [name, value] : oldFields) {
                    auto now = fields.find(name);
                    std::string then = now == fields.end() ? "(missing)" : now->second;
                    if (then != value && !allowed(records[0]->name, name))
                        differences.push_back(where + " #" + std::to_string(k + 1) + " " + name +
                                              ": \"" + value + "\" became \"" + then + "\"");
                }
                for (const auto& [name, value] : fields)
                    if (!oldFields.count(name) && !allowed(records[0]->name, name))
                        differences.push_back(where + " #" + std::to_string(k + 1) + " " + name +
                                              ": added \"" + value + "\"");
            }
        }
        for (const auto& [id, records] : is)
            if (!was.count(id) && !allowed(records[0]->name, "count"))
                differences.push_back("substream " + std::to_string(s) + " " + records[0]->name +
                                      ": " + std::to_string(records.size()) + " records added");
    }
    return differences;
}

} // namespace

TEST(RebuiltRecordsTest, EveryCorpusWorkbookGetsItsRebuiltRecordsBackFieldByField) {
    SKIP_WITHOUT_CORPUS();
    int compared = 0;
    for (const std::string& path : corpusWorkbooks()) {
        std::string file = readFile(path);
        Workbook book;
        book.preserveMacros = true;
        try {
            book.readBytes(file);
        } catch (const std::exception&) {
            continue; // damaged or encrypted: refused on reading, which other tests check
        }
        if (book.version() < ExcelVersion::Excel40)
            continue;
        book.sheets().item(0).setAsString(0, 0, "SORT000001");
        std::string out;
        try {
            book.writeToStream(out);
        } catch (const std::exception& e) {
            continue; // refused writes are the write-back test's
        }
        ++compared;
        for (const std::string& difference :
             fieldDifferences(workbookStream(file), workbookStream(out)))
            ADD_FAILURE() << path.substr(path.find("corpora/")) << ": " << difference;
    }
    EXPECT_GT(compared, 200);
}
