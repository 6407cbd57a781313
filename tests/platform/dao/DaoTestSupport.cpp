#include "tests/platform/dao/DaoTestSupport.h"

#include "platform/dao/Collection.h"
#include "platform/dao/Field.h"

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
        if (entry.path().extension() == ".mdb")
            files.push_back(fs::relative(entry.path(), QUILLAN_MDB_CORPUS).string());
    std::sort(files.begin(), files.end());
    return files;
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

// An independent conversion (the C library's) for comparing with mdbtools' UTF-8 output.
std::string fromUtf8(const std::string& utf8) {
    iconv_t converter = iconv_open("CP1252", "UTF-8");
    std::string out;
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
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
