#include "tests/mdbengine/DaoTestSupport.h"

#include "mdbengine/dao/Collection.h"
#include "mdbengine/dao/Field.h"
#include "mdbengine/dao/TableDef.h"
#include "tests/support/FileNames.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace daotest {

bool corpusAvailable() {
    return fs::is_directory(QUILLAN_MDB_CORPUS);
}

std::string corpusFile(const std::string& relative) {
    return (fs::path(QUILLAN_MDB_CORPUS) / relative).string();
}

std::vector<std::string> corpusFiles() {
    std::vector<std::string> files;
    if (!corpusAvailable())
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(QUILLAN_MDB_CORPUS))
        if (quillan::test::hasExtension(entry.path(), ".mdb"))
            files.push_back(fs::relative(entry.path(), QUILLAN_MDB_CORPUS).string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string testNameOf(const std::string& file) {
    std::string name = file;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

ScratchFolder::ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test ? test->name() : "dao") + "-" + std::to_string(getpid());
    for (char& c : name)
        if (c == '/')
            c = '-';
    folder_ = fs::temp_directory_path() / ("quillan-dao-" + name);
    fs::remove_all(folder_);
    fs::create_directories(folder_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(folder_, ec);
}

std::string ScratchFolder::copy(const std::string& relative, const std::string& name) const {
    std::string target = path(name.empty() ? fs::path(relative).filename().string() : name);
    fs::copy_file(corpusFile(relative), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    return target;
}

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

namespace {

// The C library's conversion, independent of ours; "?" for what the target lacks.
std::string converted(const std::string& text, const char* to, const char* from) {
    iconv_t converter = iconv_open(to, from);
    std::string out;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno == EILSEQ) {
            out += '?';
            do {
                ++in;
                --inLeft;
            } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
        } else if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;
        }
    }
    iconv_close(converter);
    return out;
}

} // namespace

// For comparing with mdbtools' UTF-8 output.
std::string fromUtf8(const std::string& utf8) {
    return converted(utf8, "CP1252", "UTF-8");
}

std::string toUtf8(const std::string& windows1252) {
    return converted(windows1252, "UTF-8", "CP1252");
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::vector<std::string> sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return items;
}

std::string passwordFor(const std::string& file) {
    return file.find("with-password") != std::string::npos ? "password" : "";
}

std::string connectFor(const std::string& file) {
    std::string password = passwordFor(file);
    return password.empty() ? "" : ";pwd=" + password;
}

std::string mdbExport(const std::string& path, const std::string& table) {
    return quillan::test::runCommand(
        "mdb-export -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -b strip " + shellQuoted(path) +
        " " + shellQuoted(table));
}

std::string asMdbExportShowsJet3(std::string text) {
    for (const char* control : {"\u0081", "\u008d", "\u008f", "\u0090", "\u009d"})
        for (std::size_t at = text.find(control); at != std::string::npos; at = text.find(control))
            text.replace(at, 2, "?");
    return text;
}

std::shared_ptr<Database> open(DBEngine& engine, const std::string& path,
                               const std::string& connect, bool exclusive, bool readOnly) {
    std::shared_ptr<Database> database;
    Status status = engine.openDatabase(path, exclusive, readOnly, connect, database);
    EXPECT_EQ(status, statusOk) << path << ": " << errorText(engine);
    return database;
}

std::shared_ptr<Recordset> openTable(const Database& database, const std::string& table,
                                     int options) {
    std::shared_ptr<Recordset> recordset;
    Status status = database.openRecordset(table, options, recordset);
    EXPECT_EQ(status, statusOk) << table;
    return recordset;
}

std::vector<std::string> userTables(const Database& database) {
    std::vector<std::string> names;
    std::shared_ptr<Collection<TableDef>> tables;
    EXPECT_EQ(database.tableDefs(tables), statusOk);
    if (!tables)
        return names;
    for (std::size_t i = 0; i < tables->count(); ++i) {
        std::shared_ptr<TableDef> table;
        tables->item(i, table);
        if (!table->isSystem() && !table->isLinked())
            names.push_back(table->name());
    }
    return names;
}

std::vector<Variant> column(Recordset& recordset, std::size_t field) {
    std::vector<Variant> values;
    std::shared_ptr<Collection<Field>> fields;
    std::shared_ptr<Field> target;
    if (failed(recordset.fields(fields)) || failed(fields->item(field, target)))
        return values;
    bool atEnd = false;
    for (recordset.moveFirst(), recordset.eof(atEnd); !atEnd;
         recordset.moveNext(), recordset.eof(atEnd)) {
        Variant value;
        EXPECT_EQ(target->value(value), statusOk);
        values.push_back(value);
    }
    return values;
}

std::string errorText(const DBEngine& engine) {
    Error error;
    if (failed(engine.errors()->item(0, error)))
        return {};
    return std::to_string(error.number) + " " + error.description;
}

} // namespace daotest

#include "mdbengine/dao/DatabaseFile.h"
#include "mdbengine/pages/ByteOrder.h"
#include "mdbengine/pages/DataPage.h"
#include "mdbengine/pages/FormatError.h"
#include "mdbengine/pages/UsageMap.h"
#include "mdbengine/tables/IndexCheck.h"
#include "tests/support/TestEnvironment.h"

#include <cstring>
#include <fstream>
#include <set>

namespace daotest {

namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

template <typename Visit>
std::vector<std::string> forEachDataPage(const std::string& path, const std::string& password,
                                         Visit visit) {
    std::vector<std::string> problems;
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    if (failed(DatabaseFile::open(path, {false, true, password}, errors, file)))
        return {"cannot open " + path};
    file::PageStore& pages = file->pages();
    std::map<std::uint32_t, std::set<std::uint32_t>> owned;
    std::set<std::uint32_t> freePages;
    try {
        for (const file::CatalogEntry& entry : file->catalog().tables())
            if (!entry.isLinked()) {
                auto table = file->tableDefinition(entry.tablePage());
                auto marked = file::readUsageMap(pages, table->ownedPagesMap);
                owned[entry.tablePage()] = {marked.begin(), marked.end()};
            }
        auto marked = file::readUsageMap(pages, file::freePagesMapRow, true);
        freePages = {marked.begin(), marked.end()};
        for (std::uint32_t number = 3; number < pages.pageCount(); ++number) {
            auto bytes = pages.page(number);
            if (bytes[0] != 0x01)
                continue;
            file::DataPage page(bytes, pages.format());
            auto table = owned.find(page.owner());
            if (table == owned.end() || freePages.count(number))
                continue; // long values, usage maps, pages given up by their table
            visit(pages, number, page, table->second, freePages, problems);
        }
    } catch (const std::exception& e) {
        problems.push_back(std::string("unreadable: ") + e.what());
    }
    return problems;
}

} // namespace

std::vector<std::string> structureProblems(const std::string& path, const std::string& password,
                                           const std::string& original) {
    std::string before = original.empty() ? std::string() : readBytes(original);
    auto check = [&](file::PageStore& pages, std::uint32_t number, const file::DataPage& page,
                     const std::set<std::uint32_t>& owned, const std::set<std::uint32_t>&,
                     std::vector<std::string>& problems) {
        std::string where = "page " + std::to_string(number);
        const file::JetFormat& format = pages.format();
        if (!owned.count(number))
            problems.push_back(where + " is not in its table's usage map");
        std::size_t tableEnd = format.slotTableOffset() + 2u * page.rowCount();
        std::size_t live = 0;
        std::size_t previous = format.pageSize;
        for (std::uint16_t slot = 0; slot < page.rowCount(); ++slot) {
            std::size_t offset = page.slot(slot) & file::JetFormat::slotOffsetMask;
            if ((page.slot(slot) & 0xC000) == 0xC000)
                continue; // deleted: any offset
            std::string at = where + " slot " + std::to_string(slot);
            if (offset < tableEnd || offset >= format.pageSize) {
                problems.push_back(at + " out of range");
                continue;
            }
            if (offset >= previous)
                problems.push_back(at + " not below the slot before");
            previous = offset;
            auto row = page.row(slot);
            live += row.size();
            if (!page.isOverflowPointer(slot))
                continue;
            std::uint32_t target = file::get32(row.data());
            file::DataPage image(pages.page(file::DataPage::pageOf(target)), format);
            std::uint16_t targetSlot = file::DataPage::slotOf(target);
            if (image.owner() != page.owner() || targetSlot >= image.rowCount() ||
                (image.slot(targetSlot) & 0xC000) != 0x8000)
                problems.push_back(at + " points to no moved image");
        }
        // Access pages may claim less free space than there is, never more; pages written
        // here claim exactly what there is.
        std::size_t computed = format.pageSize - tableEnd - live;
        std::size_t start = static_cast<std::size_t>(number) * format.pageSize;
        bool written =
            before.size() < start + format.pageSize ||
            std::memcmp(before.data() + start, pages.page(number).data(), format.pageSize) != 0;
        if (written ? page.freeSpace() != computed : page.freeSpace() > computed)
            problems.push_back(where + " free space " + std::to_string(page.freeSpace()) +
                               ", computed " + std::to_string(computed));
    };
    return forEachDataPage(path, password, check);
}

SlotCounts slotCounts(const std::string& path, const std::string& password) {
    SlotCounts counts;
    forEachDataPage(path, password,
                    [&](file::PageStore&, std::uint32_t, const file::DataPage& page,
                        const std::set<std::uint32_t>&, const std::set<std::uint32_t>&,
                        std::vector<std::string>&) {
                        for (std::uint16_t slot = 0; slot < page.rowCount(); ++slot) {
                            std::uint16_t flags = page.slot(slot) & 0xC000;
                            counts.movedImages += flags == 0x8000;
                            counts.deleted += flags == 0xC000;
                        }
                    });
    return counts;
}

std::vector<std::string> indexProblems(const std::string& path, const std::string& password) {
    Errors errors;
    std::shared_ptr<DatabaseFile> file;
    if (failed(DatabaseFile::open(path, {false, true, password}, errors, file)))
        return {"cannot open " + path};
    std::vector<std::string> problems;
    try {
        for (const file::CatalogEntry& entry : file->catalog().tables()) {
            if (entry.isLinked())
                continue;
            auto table = file->tableDefinition(entry.tablePage());
            for (const std::string& problem : file::checkIndexes(file->pages(), *table).problems)
                problems.push_back(entry.name + ": " + problem);
        }
    } catch (const std::exception& e) {
        problems.push_back(std::string("unreadable: ") + e.what());
    }
    return problems;
}

std::string sha256(const std::string& path) {
    return quillan::test::runCommand("sha256sum " + shellQuoted(path) + " | cut -d' ' -f1");
}

} // namespace daotest
