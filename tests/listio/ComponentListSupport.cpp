#include "tests/listio/ComponentListSupport.h"

#include "xls/Workbook.h"

#include <fstream>
#include <grp.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace quillan::test {

std::string openWithRoles(ListFixture& f, const std::string& path, const Roles& roles) {
    f.ui().whenShown("VerifyDlog", [roles](platform::Form& form) {
        for (const auto& [combo, column] : roles)
            form.control(combo).userSetItemIndex(column);
        form.control("OKBtn").userClick();
    });
    return f.open(path, 0);
}

void writeWorkbook(const std::string& path, const std::vector<TestSheet>& sheets, int biff) {
    xls::Workbook book;
    book.setVersion(biff == 8   ? xls::ExcelVersion::Excel97
                    : biff == 5 ? xls::ExcelVersion::Excel50
                                : xls::ExcelVersion::Excel40);
    for (size_t s = 0; s < sheets.size(); ++s) {
        xls::Sheet& sheet = s == 0 ? book.sheets().item(0) : book.sheets().add();
        sheet.setName(sheets[s].name);
        for (size_t r = 0; r < sheets[s].rows.size(); ++r)
            for (size_t c = 0; c < sheets[s].rows[r].size(); ++c) {
                const CellValue& value = sheets[s].rows[r][c];
                const int col = static_cast<int>(c), row = static_cast<int>(r);
                if (const double* number = std::get_if<double>(&value))
                    sheet.setFloat(col, row, *number, -1);
                else if (!std::get<std::string>(value).empty())
                    sheet.setString(col, row, std::get<std::string>(value), -1);
            }
    }
    book.setFilename(path);
    book.write();
}

namespace {

void record(std::string& out, uint16_t id, const std::string& body) {
    auto word = [&out](uint16_t w) {
        out += static_cast<char>(w & 0xFF);
        out += static_cast<char>(w >> 8);
    };
    word(id);
    word(static_cast<uint16_t>(body.size()));
    out += body;
}

std::string words(std::initializer_list<uint16_t> values) {
    std::string out;
    for (uint16_t w : values) {
        out += static_cast<char>(w & 0xFF);
        out += static_cast<char>(w >> 8);
    }
    return out;
}

} // namespace

std::string oldWorksheet(const std::vector<std::vector<std::string>>& rows, int biff) {
    const bool biff2 = biff == 2;
    size_t columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    // Excel 3.0 records carry the version in their identifiers and a word more than 2.1's.
    const uint16_t version = biff2 ? 0x0000 : 0x0200;
    const std::string extraWord = biff2 ? std::string() : words({0});
    std::string out;
    record(out, version | 0x0009, words({0x0000, 0x0010}) + extraWord);
    record(out, version | 0x0000,
           words({0, static_cast<uint16_t>(rows.size()), 0, static_cast<uint16_t>(columns)}) +
               extraWord);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& text = rows[r][c];
            if (text.empty())
                continue;
            const std::string cell = words({static_cast<uint16_t>(r), static_cast<uint16_t>(c)});
            // A label: Excel 2.1's has three attribute bytes and a one-byte length, 3.0's an
            // XF index and a length word.
            if (biff2)
                record(out, 0x0004,
                       cell + std::string(3, '\0') + static_cast<char>(text.size()) + text);
            else
                record(out, 0x0204, cell + words({15, static_cast<uint16_t>(text.size())}) + text);
        }
    record(out, 0x000A, "");
    return out;
}

void drawLineOnBiff4Sheet(const std::string& path) {
    std::string bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string eof("\x0A\0\0\0", 4);
    ASSERT_GE(bytes.size(), eof.size());
    ASSERT_EQ(bytes.substr(bytes.size() - eof.size()), eof);
    // Object count, type 1 (a line), id, flags, then the anchor and the line's own data.
    std::string obj;
    record(obj, 0x005D, words({1, 0, 1, 1, 0x0014}) + std::string(26, '\0'));
    bytes.insert(bytes.size() - eof.size(), obj);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::string> xlrdCells(const std::string& path) {
    const std::string script =
        "import sys, xlrd\n"
        "book = xlrd.open_workbook(sys.argv[1])\n"
        "for sheet in book.sheets():\n"
        "    for r in range(sheet.nrows):\n"
        "        for c in range(sheet.ncols):\n"
        "            cell = sheet.cell(r, c)\n"
        "            if cell.ctype != 0:\n"
        "                print('%s\\t%d\\t%d\\t%d\\t%r' % (sheet.name, r, c, cell.ctype, "
        "cell.value))\n";
    std::string out =
        runCommand(std::string(QUILLAN_PYTHON) + " -c \"" + script + "\" '" + path + "' 2>&1");
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string accessTable(const std::string& path, const std::vector<std::string>& tabRecords) {
    std::string list = path + ".txt";
    std::string bytes;
    for (const auto& line : tabRecords)
        bytes += line + "\r\n";
    std::ofstream(list, std::ios::binary) << bytes;
    runCommand(std::string(QUILLAN_MDBFILL) + " '" + list + "' '" + path + "' --empty");
    std::remove(list.c_str());
    return path;
}

std::vector<std::string> mdbExport(const std::string& path, const std::string& table) {
    std::string out = runCommand("mdb-export '" + path + "' '" + table + "' 2>&1");
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> csvCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (char c : line + ",") {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            cells.push_back(std::exchange(cell, ""));
        else
            cell += c;
    }
    return cells;
}

std::string sha256Of(const std::string& path) {
    std::string out = runCommand("sha256sum '" + path + "'");
    return out.substr(0, out.find(' '));
}

int inReadOnlyFolder(const std::string& folder, const std::function<int()>& attempt) {
    chmod(folder.c_str(), 0555);
    int status = -1;
    if (geteuid() != 0) {
        status = attempt();
    } else {
        pid_t child = fork();
        if (child == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                _exit(99);
            _exit(attempt());
        }
        int waited = 0;
        waitpid(child, &waited, 0);
        status = WIFEXITED(waited) ? WEXITSTATUS(waited) : 98;
    }
    chmod(folder.c_str(), 0755);
    return status;
}

bool readOnlyWriteFails(WriterFixture& f, const std::string& path, bool listReadOnly) {
    chmod(path.c_str(), listReadOnly ? 0444 : 0666);
    int status = inReadOnlyFolder(f.env.folder(), [&] {
        bool failed = test::writeSortInformation(f).failed;
        const auto& said = f.ui().messages();
        bool advised =
            !listReadOnly ||
            (said.size() == 1 && said[0].text.find("The file is read-only") != std::string::npos);
        return failed && said.size() == 1 && said[0].kind == platform::MessageKind::Error && advised
                   ? 0
                   : 1;
    });
    return status == 0;
}

} // namespace quillan::test
