// xlsrewrite IN OUT: the program's own use of a workbook. Reads IN, sets a text into the
// first column and into the column after the last one on every row of the first sheet that
// holds cells, writes the workbook to OUT in the version read and checks OUT's structure.
// Prints {"sheet": s, "existing": 0, "new": c, "rows": n} (new is -1 when the sheet is full).
// Exit status: 0 done, 1 the library refused (message on standard error), 3 the structure
// check found problems the original did not have (listed on standard error), 4 the library
// refused the write but OUT, a copy of IN before it, is no longer that, or a temporary file
// of the write was left beside it (OUT should be alone in its folder).

#include "tests/xls/StructureCheck.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Workbook.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>

namespace {

// A refused write must leave the file as it was and nothing beside it.
bool leftAsItWas(const std::string& original, const std::string& target) {
    std::filesystem::path folder = std::filesystem::absolute(target).parent_path();
    auto entries = std::distance(std::filesystem::directory_iterator(folder),
                                 std::filesystem::directory_iterator());
    return entries == 1 && xls::test::readFile(original) == xls::test::readFile(target);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: xlsrewrite IN OUT\n");
        return 2;
    }
    xls::Workbook book;
    book.preserveMacros = true; // as the program does: macros and properties go back
    bool copied = false;
    size_t chosen = 0;
    int newColumn = -1;
    int rows = 0;
    try {
        book.setFilename(argv[1]);
        book.read();
        for (size_t i = 0; i < book.sheets().count(); ++i) {
            book.sheets().item(i).cells().beginIterate();
            if (book.sheets().item(i).cells().nextCell()) {
                chosen = i;
                break;
            }
        }
        xls::Sheet& sheet = book.sheets().item(chosen);
        xls::CellStorage::Dimensions cells = sheet.cells().calcDimensions();
        rows = cells.lastRow + 1;
        newColumn = cells.lastCol < 255 ? cells.lastCol + 1 : -1;
        for (int row = 0; row < rows; ++row) {
            sheet.setAsString(0, row, "R" + std::to_string(row));
            if (newColumn >= 0)
                sheet.setAsString(newColumn, row, "N" + std::to_string(row));
        }
        std::filesystem::copy_file(argv[1], argv[2],
                                   std::filesystem::copy_options::overwrite_existing);
        // The corpus is read-only; its copy is ours to write.
        std::filesystem::permissions(argv[2], std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        copied = true;
        book.setFilename(argv[2]);
        book.write();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        if (copied && !leftAsItWas(argv[1], argv[2])) {
            std::fprintf(stderr, "the refused write changed the file or left one beside it\n");
            return 4;
        }
        return 1;
    }
    // Damage the original had already is not the writer's.
    std::vector<std::string> before =
        xls::test::checkWorkbookStructure(xls::test::readFile(argv[1]));
    std::vector<std::string> problems;
    for (const std::string& problem :
         xls::test::checkWorkbookStructure(xls::test::readFile(argv[2])))
        if (std::find(before.begin(), before.end(), problem) == before.end())
            problems.push_back(problem);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "%s\n", problem.c_str());
    std::printf("{\"sheet\": %zu, \"existing\": 0, \"new\": %d, \"rows\": %d}\n", chosen, newColumn,
                rows);
    return problems.empty() ? 0 : 3;
}
