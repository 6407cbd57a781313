// CPU time and peak memory of the spreadsheet library's hot paths, each beside the Python
// reference reader doing the same work in the same run where there is one.

#include "bench/BenchSupport.h"
#include "tests/xls/FormulaGenerator.h"
#include "xls/CellStorage.h"
#include "xls/FormulaDecoder.h"
#include "xls/FormulaEncoder.h"
#include "xls/RecordId.h"
#include "xls/SharedStringTable.h"
#include "xls/Workbook.h"
#include "xls/XlsStream.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <type_traits>
#include <unistd.h>
#include <vector>

using quillan::bench::cpuSeconds;
using quillan::bench::peakMegabytes;
namespace fs = std::filesystem;

namespace {

constexpr int Repeats = 10;

std::string pythonOutput(const std::string& script, const std::string& argument) {
    std::string command = std::string(QUILLAN_PYTHON) + " -c \"" + script + "\" '" + argument + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    std::array<char, 256> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe))
        output += buffer.data();
    if (pipe)
        pclose(pipe);
    return output;
}

// Best of a few runs: the least disturbed by the other work on the machine.
template <typename Work>
double bestCpuSeconds(Work work) {
    double best = 1e9;
    for (int i = 0; i < Repeats; ++i) {
        double start = cpuSeconds();
        double excluded = 0;
        if constexpr (std::is_same_v<decltype(work()), double>)
            excluded = work(); // the work's own checks, not to be counted
        else
            work();
        best = std::min(best, cpuSeconds() - start - excluded);
    }
    return best;
}

std::string workbookBytes(size_t size) {
    std::string bytes;
    bytes.reserve(size);
    uint32_t state = 1;
    while (bytes.size() + 4 <= size) {
        size_t body = std::min<size_t>(size - bytes.size() - 4, 8224);
        bytes += {'\xE1', '\x00', static_cast<char>(body & 0xFF), static_cast<char>(body >> 8)};
        for (size_t i = 0; i < body; ++i) {
            state = state * 1103515245 + 12345;
            bytes += static_cast<char>(state >> 16);
        }
    }
    bytes.resize(size, '\0');
    return bytes;
}

void compoundFiles(const fs::path& folder) {
    std::string path = (folder / "book.xls").string();
    std::string workbook = workbookBytes(8 * 1024 * 1024);
    xls::XlsStream stream;
    double write = bestCpuSeconds([&] {
        stream.openWrite(path, xls::ExcelVersion::Excel97);
        stream.writeRaw(workbook);
        stream.close();
    });
    bool same = false;
    double read = bestCpuSeconds([&] {
        stream.openRead(path);
        std::string_view back = stream.readView(stream.size());
        double paused = cpuSeconds();
        same = back == workbook;
        double compared = cpuSeconds() - paused;
        stream.close();
        return compared;
    });
    std::string olefile =
        pythonOutput("import sys, time, olefile\n"
                     "best = 1e9\n"
                     "for i in range(5):\n"
                     "    t = time.process_time()\n"
                     "    data = olefile.OleFileIO(sys.argv[1]).openstream('Workbook').read()\n"
                     "    best = min(best, time.process_time() - t)\n"
                     "print(best)",
                     path);
    double theirs = std::stod(olefile.empty() ? "0" : olefile);
    std::printf("8 MB compound file: open and read the workbook stream %.1f ms (olefile %.1f ms, "
                "%.1fx), write it back %.1f ms; same bytes: %s\n",
                read * 1000, theirs * 1000, read > 0 ? theirs / read : 0.0, write * 1000,
                same ? "yes" : "NO");
}

void cellStore() {
    constexpr int Rows = 65536;
    constexpr int Cols = 10;
    std::vector<int32_t> keys;
    keys.reserve(Rows * Cols);
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col)
            keys.push_back(xls::cellKey(col, row));
    std::vector<int32_t> shuffled = keys;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(5));

    xls::CellStorage store;
    auto insert = [&](const std::vector<int32_t>& order) {
        return bestCpuSeconds([&] {
            double start = cpuSeconds();
            store.clear(); // emptying the store is not part of filling it
            double cleared = cpuSeconds() - start;
            for (int32_t key : order)
                store.set(xls::Cell::integer(key, key, -1));
            return cleared;
        });
    };
    long long sum = 0;
    auto walk = [&] {
        return bestCpuSeconds([&] {
            sum = 0;
            store.beginIterate();
            while (xls::Cell* cell = store.nextCell())
                sum += cell->integer();
        });
    };
    long long expected = std::accumulate(keys.begin(), keys.end(), 0LL);
    double inOrder = insert(keys);
    double walkInOrder = walk();
    bool right = sum == expected;
    double inShuffle = insert(shuffled);
    double walkShuffled = walk();
    right = right && sum == expected;
    std::printf("cell store, 655,360 cells: insert in row order %.1f ms, shuffled %.1f ms; walk "
                "%.1f ms after the first, %.1f ms after the second (sums %s)\n",
                inOrder * 1000, inShuffle * 1000, walkInOrder * 1000, walkShuffled * 1000,
                right ? "right" : "WRONG");
}

std::string tenCharacters(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "k%09d", n);
    return text;
}

void sharedStrings(const fs::path& folder) {
    double adding = bestCpuSeconds([] {
        xls::SharedStringTable table;
        for (int i = 0; i < 200000; ++i)
            table.addString(tenCharacters(i));
    });

    std::string path = (folder / "strings.xls").string();
    pythonOutput("import sys, xlwt\n"
                 "book = xlwt.Workbook()\n"
                 "for s in range(2):\n"
                 "    sheet = book.add_sheet('S%d' % s)\n"
                 "    for r in range(50000):\n"
                 "        sheet.write(r, 0, 'text %d of sheet %d' % (r, s))\n"
                 "book.save(sys.argv[1])",
                 path);
    xls::SharedStringTable table;
    xls::XlsStream stream;
    double parsing = bestCpuSeconds([&] {
        stream.openRead(path);
        xls::RecordHeader header;
        while (stream.readHeader(header) && header.id != xls::record::Sst)
            stream.seek(header.length, xls::SeekOrigin::Current);
        stream.seek(-4, xls::SeekOrigin::Current);
        table.clear();
        table.read(stream);
        stream.close();
    });
    std::string xlrd = pythonOutput("import sys, time, xlrd\n"
                                    "best = 1e9\n"
                                    "for i in range(3):\n"
                                    "    t = time.process_time()\n"
                                    "    xlrd.open_workbook(sys.argv[1], on_demand=True)\n"
                                    "    best = min(best, time.process_time() - t)\n"
                                    "print(best)",
                                    path);
    double theirs = std::stod(xlrd.empty() ? "0" : xlrd);
    std::string out;
    double writing = bestCpuSeconds([&] {
        out.clear();
        stream.openWriteToMemory(out, xls::ExcelVersion::Excel97);
        table.write(stream);
        stream.close();
    });
    std::printf("shared strings: 200,000 distinct adds %.1f ms; the %zu strings of an xlwt "
                "workbook parsed in %.1f ms (xlrd on demand %.1f ms, %.1fx), written back in "
                "%.1f ms (%zu bytes)\n",
                adding * 1000, table.count(), parsing * 1000, theirs * 1000,
                parsing > 0 ? theirs / parsing : 0.0, writing * 1000, out.size());
}

void formulas(const fs::path& folder) {
    xls::FormulaEncoder encoder;
    encoder.sheetLookup = [](std::string_view name) -> std::optional<xls::SheetReference> {
        if (name.size() == 6 && name.substr(0, 5) == "Sheet")
            return xls::SheetReference{name[5] - '1', name[5] - '1', name[5] - '1'};
        return std::nullopt;
    };
    encoder.nameLookup = [](std::string_view name) { return name == "Total" ? 0 : -1; };
    xls::NameTextCallback names = [](int kind, int index, int) {
        return kind == 0 ? std::string("Total")
                         : "Sheet" + std::to_string(index + 1) + (kind == 2 ? "!" : "");
    };
    xls::test::FormulaGenerator generator(21, false);
    std::vector<std::string> texts(100000);
    for (std::string& text : texts)
        text = generator.formula();
    std::vector<xls::EncodedFormula> encoded(texts.size());
    double encoding = bestCpuSeconds([&] {
        for (size_t i = 0; i < texts.size(); ++i)
            encoded[i] = encoder.encode(texts[i]);
    });
    size_t same = 0;
    double decoding = bestCpuSeconds([&] {
        std::vector<std::string> back(encoded.size());
        for (size_t i = 0; i < encoded.size(); ++i)
            back[i] = xls::decodeFormulaTokens(xls::ExcelVersion::Excel97, encoded[i].bytes,
                                               encoded[i].tokenLength, names);
        double start = cpuSeconds();
        same = 0;
        for (size_t i = 0; i < back.size(); ++i)
            same += back[i] == texts[i];
        return cpuSeconds() - start;
    });

    xls::test::FormulaGenerator plain(22, false, true);
    std::vector<std::string> plainTexts(10000);
    std::string path = (folder / "formulas.txt").string();
    {
        std::ofstream out(path);
        for (std::string& text : plainTexts)
            out << (text = plain.formula()) << "\n";
    }
    double ours = bestCpuSeconds([&] {
        for (const std::string& text : plainTexts)
            encoder.encode(text);
    });
    std::string xlwt = pythonOutput("import sys, time, xlwt\n"
                                    "texts = open(sys.argv[1]).read().splitlines()\n"
                                    "best = 1e9\n"
                                    "for i in range(3):\n"
                                    "    t = time.process_time()\n"
                                    "    for text in texts: xlwt.Formula(text)\n"
                                    "    best = min(best, time.process_time() - t)\n"
                                    "print(best)",
                                    path);
    double theirs = std::stod(xlwt.empty() ? "0" : xlwt);
    std::printf("formulas: 100,000 generated encoded in %.0f ms and decoded in %.0f ms (%zu back "
                "as written); 10,000 plain ones encoded in %.1f ms (xlwt %.0f ms, %.0fx)\n",
                encoding * 1000, decoding * 1000, same, ours * 1000, theirs * 1000,
                ours > 0 ? theirs / ours : 0.0);
}

// The program's own use of a sheet: every cell read as text, then four columns of sort
// results written back as texts.
void cellAccess(const fs::path& folder) {
    constexpr int Rows = 65536;
    constexpr int Cols = 10;
    xls::Workbook book;
    xls::Sheet& sheet = book.sheets().item(0);
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < Cols; ++col)
            sheet.setFloat(col, row, row * 10.25 + col, -1);
    size_t characters = 0;
    double reading = bestCpuSeconds([&] {
        characters = 0;
        for (int row = 0; row < Rows; ++row)
            for (int col = 0; col < Cols; ++col)
                characters += sheet.getAsString(col, row).size();
    });

    std::vector<std::string> texts;
    texts.reserve(4 * Rows);
    for (int row = 0; row < Rows; ++row)
        for (int col = 0; col < 4; ++col)
            texts.push_back(col == 0   ? "T" + std::to_string(row / 40 + 1)
                            : col == 1 ? std::to_string(row + 1)
                            : col == 2 ? "5D " + std::to_string(row % 997)
                                       : "Sorted");
    double writing = bestCpuSeconds([&] {
        double start = cpuSeconds();
        book.clear(); // a fresh table each round; not part of the work
        double cleared = cpuSeconds() - start;
        xls::Sheet& target = book.sheets().item(0);
        for (int row = 0; row < Rows; ++row)
            for (int col = 0; col < 4; ++col)
                target.setAsString(Cols + col, row, texts[static_cast<size_t>(row * 4 + col)]);
        return cleared;
    });
    std::string path = (folder / "texts.txt").string();
    {
        std::ofstream out(path);
        for (const std::string& text : texts)
            out << text << "\n";
    }
    std::string xlwt = pythonOutput("import sys, time, xlwt\n"
                                    "texts = open(sys.argv[1]).read().splitlines()\n"
                                    "best = 1e9\n"
                                    "for i in range(3):\n"
                                    "    sheet = xlwt.Workbook().add_sheet('S')\n"
                                    "    t = time.process_time()\n"
                                    "    for i, text in enumerate(texts):\n"
                                    "        sheet.write(i >> 2, 10 + (i & 3), text)\n"
                                    "    best = min(best, time.process_time() - t)\n"
                                    "print(best)",
                                    path);
    double theirs = std::stod(xlwt.empty() ? "0" : xlwt);
    std::printf("cell access: 655,360 doubles read as text in %.0f ms (%zu characters); "
                "262,144 texts set in %.0f ms (xlwt Worksheet.write %.0f ms, %.0fx), %zu "
                "shared strings\n",
                reading * 1000, characters, writing * 1000, theirs * 1000,
                writing > 0 ? theirs / writing : 0.0, book.sheets().strings().count());
}

// A 60,000-row mailing list of six columns, made by the list generator and written by xlwt.
std::string mailingListWorkbook(const fs::path& folder) {
    std::string list = (folder / "list.txt").string();
    std::string book = (folder / "list.xls").string();
    std::string make = std::string(QUILLAN_PYTHON) + " " + QUILLAN_TOOLS +
                       "/make_mailing_lists.py --kind tab --records 60000 --seed 17 --out '" +
                       list + "' >/dev/null";
    if (std::system(make.c_str()) != 0)
        return {};
    pythonOutput("import sys, xlwt\n"
                 "book = xlwt.Workbook(); sheet = book.add_sheet('List')\n"
                 "for r, line in enumerate(open(sys.argv[1] + '.txt', encoding='latin-1')):\n"
                 "    for c, f in enumerate(line.rstrip('\\r\\n').split('\\t')):\n"
                 "        sheet.write(r, c, int(f) if c == 4 and f.isdigit() else f)\n"
                 "book.save(sys.argv[1] + '.xls')",
                 (folder / "list").string());
    return fs::exists(book) ? book : std::string();
}

// Peak memory of one read in a process of its own (this program run with --peak-read).
double peakOfRead(const std::string& self, const std::string& path) {
    std::string output;
    FILE* pipe = popen(("'" + self + "' --peak-read '" + path + "'").c_str(), "r");
    std::array<char, 64> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe))
        output += buffer.data();
    if (pipe)
        pclose(pipe);
    return output.empty() ? 0 : std::stod(output);
}

void readingWorkbooks(const fs::path& folder, const std::string& self) {
    std::vector<std::pair<std::string, std::string>> books;
    std::string list = mailingListWorkbook(folder);
    if (!list.empty())
        books.push_back({"60,000-row mailing list (xlwt, " +
                             std::to_string(fs::file_size(list) / 1024) + " KB)",
                         list});
    std::string corpus = std::string(QUILLAN_XLS_CORPUS) + "/exceldatareader/Test10x10000.xls";
    if (fs::exists(corpus))
        books.push_back({"Test10x10000.xls", corpus});
    for (const auto& [label, path] : books) {
        xls::Workbook book;
        book.setFilename(path);
        double ours = bestCpuSeconds([&] { book.read(); });
        std::string xlrd = pythonOutput("import sys, time, resource, xlrd\n"
                                        "best = 1e9\n"
                                        "for i in range(3):\n"
                                        "    t = time.process_time()\n"
                                        "    xlrd.open_workbook(sys.argv[1])\n"
                                        "    best = min(best, time.process_time() - t)\n"
                                        "print(best, resource.getrusage(resource.RUSAGE_SELF)"
                                        ".ru_maxrss / 1024.0)",
                                        path);
        double theirs = 0, theirPeak = 0;
        std::sscanf(xlrd.c_str(), "%lf %lf", &theirs, &theirPeak);
        std::printf("read %s: %.1f ms (xlrd open_workbook %.0f ms, %.0fx); peak %.0f MB (xlrd "
                    "%.0f MB); %zu sheets, last row %d\n",
                    label.c_str(), ours * 1000, theirs * 1000, ours > 0 ? theirs / ours : 0.0,
                    peakOfRead(self, path), theirPeak, book.sheets().count(),
                    book.sheets().item(0).lastRow);
    }
}

// Writing: the mailing list back (against xlwt writing the same content), the program's
// whole road (read, four columns of results, write) and a sheet of 655,360 numbers.
void writingWorkbooks(const fs::path& folder) {
    std::string list = (folder / "list.xls").string();
    if (!fs::exists(list))
        return;
    std::string out = (folder / "out.xls").string();
    xls::Workbook book;
    book.setFilename(list);
    book.read();
    book.setFilename(out);
    double writing = bestCpuSeconds([&] { book.write(); });
    std::string xlwt = pythonOutput("import sys, time, xlwt\n"
                                    "rows = [l.rstrip('\\r\\n').split('\\t') for l in "
                                    "open(sys.argv[1] + '.txt', encoding='latin-1')]\n"
                                    "best = 1e9\n"
                                    "for i in range(3):\n"
                                    "    t = time.process_time()\n"
                                    "    book = xlwt.Workbook(); sheet = book.add_sheet('List')\n"
                                    "    for r, fields in enumerate(rows):\n"
                                    "        for c, f in enumerate(fields):\n"
                                    "            sheet.write(r, c, int(f) if c == 4 and "
                                    "f.isdigit() else f)\n"
                                    "    book.save(sys.argv[1] + '-xlwt.xls')\n"
                                    "    best = min(best, time.process_time() - t)\n"
                                    "print(best)",
                                    (folder / "list").string());
    double theirs = std::stod(xlwt.empty() ? "0" : xlwt);

    double road = bestCpuSeconds([&] {
        xls::Workbook program;
        program.setFilename(list);
        program.read();
        xls::Sheet& sheet = program.sheets().item(0);
        for (int row = 0; row <= sheet.lastRow; ++row)
            for (int col = 6; col < 10; ++col)
                sheet.setAsString(col, row, col == 6 ? "T" + std::to_string(row / 40 + 1) : "5D");
        program.setFilename(out);
        program.write();
    });

    xls::Workbook numbers;
    for (int row = 0; row < 65536; ++row)
        for (int col = 0; col < 10; ++col)
            numbers.sheets().item(0).setFloat(col, row, row * 10.25 + col, -1);
    numbers.setFilename(out);
    double large = bestCpuSeconds([&] { numbers.write(); });
    std::printf("write the 60,000-row list %.0f ms (xlwt %.0f ms, %.0fx); read, 240,000 texts "
                "set and written %.0f ms; 65,536 x 10 numbers written %.0f ms (%.1f MB)\n",
                writing * 1000, theirs * 1000, writing > 0 ? theirs / writing : 0.0, road * 1000,
                large * 1000, static_cast<double>(fs::file_size(out)) / 1e6);
}

// A workbook of three sheets with 2,000 notes and 100 PNG pictures: read (against xlrd, notes
// included) and written.
void drawingWorkbooks(const fs::path& folder) {
    std::string path = (folder / "drawings.xls").string();
    {
        xls::Workbook book;
        for (int s = 1; s < 3; ++s)
            book.sheets().add();
        std::string png("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x40\0\0\0\x20", 24);
        for (int p = 0; p < 100; ++p) {
            xls::XlsPicture& picture = book.pictures().add();
            picture.type = xls::PictureType::Png;
            picture.fileKind = 5;
            picture.setMemoryData(png + std::string(2000 + 37 * p, static_cast<char>(p)));
            xls::SheetPicture& placement =
                book.sheets().item(static_cast<size_t>(p % 3)).sheetPictures().add();
            placement.name = "picture " + std::to_string(p);
            placement.link(&picture);
            placement.col1 = 8;
            placement.row1 = p * 3;
        }
        for (int n = 0; n < 2000; ++n) {
            xls::Sheet& sheet = book.sheets().item(static_cast<size_t>(n % 3));
            int row = n / 3;
            sheet.setAsString(0, row, "record " + std::to_string(n));
            xls::Note& note = sheet.notes().add();
            note.setCellRow(row);
            note.setCellCol(0);
            note.lines = {"Checked by the mailer", "note " + std::to_string(n)};
        }
        book.setFilename(path);
        book.write();
    }
    xls::Workbook book;
    book.setFilename(path);
    book.picturesInMemory = true;
    double reading = bestCpuSeconds([&] { book.read(); });
    size_t notes = book.noteCount();
    std::string out = (folder / "drawings-out.xls").string();
    book.setFilename(out);
    double writing = bestCpuSeconds([&] { book.write(); });
    std::string xlrd =
        pythonOutput("import sys, time, io, xlrd\n"
                     "best = 1e9\n"
                     "for i in range(3):\n"
                     "    t = time.process_time()\n"
                     "    b = xlrd.open_workbook(sys.argv[1], logfile=io.StringIO())\n"
                     "    n = sum(len(s.cell_note_map) for s in b.sheets())\n"
                     "    best = min(best, time.process_time() - t)\n"
                     "print(best, n)",
                     path);
    double theirs = 0;
    int theirNotes = 0;
    std::sscanf(xlrd.c_str(), "%lf %d", &theirs, &theirNotes);
    std::printf("drawings: 3 sheets, %zu notes, %zu pictures read in %.1f ms (xlrd %.0f ms with %d "
                "notes, %.0fx), written in %.1f ms (%.0f KB)\n",
                notes, book.pictures().count(), reading * 1000, theirs * 1000, theirNotes,
                reading > 0 ? theirs / reading : 0.0, writing * 1000,
                static_cast<double>(fs::file_size(out)) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--peak-read") {
        xls::Workbook book;
        book.setFilename(argv[2]);
        book.read();
        std::printf("%.1f\n", peakMegabytes());
        return 0;
    }
    fs::path folder = fs::temp_directory_path() / ("bench-xls-" + std::to_string(getpid()));
    fs::create_directories(folder);
    compoundFiles(folder);
    cellStore();
    sharedStrings(folder);
    formulas(folder);
    cellAccess(folder);
    readingWorkbooks(folder, fs::canonical("/proc/self/exe").string());
    writingWorkbooks(folder);
    drawingWorkbooks(folder);
    std::printf("peak memory %.0f MB\n", peakMegabytes());
    fs::remove_all(folder);
    return 0;
}
