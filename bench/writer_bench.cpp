// CPU time of the sort information writer on a generated mailing of 100,000 records over
// the national tables: 5,000 ZIP codes in 5-digit packages, 30 packages to a tray, 3 % of
// the records rejected. Times the presort order walk (and the plain walk that scans the
// list once per ZIP group, for comparison), rewriting a comma list, the separate file, a
// dBase table and an Access table (the fill tool's, the sort information going into four of
// its Text fields). Runs without a main window, so the progress picture does not pause.

#include "accessdb/classlib/TField.h"
#include "app/DataFiles.h"
#include "app/ListReadingStep.h"
#include "app/UiNotices.h"
#include "bench/BenchSupport.h"
#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "listio/FormatNames.h"
#include "listio/ListComponents.h"
#include "listio/ListFormat.h"
#include "listio/PresortOrder.h"
#include "listio/SortInformationWriter.h"
#include "platform/config/ConfigStore.h"
#include "platform/fs/ProgramPaths.h"
#include "platform/fs/RegularFile.h"
#include "platform/help/HelpViewer.h"
#include "platform/shell/Shell.h"
#include "platform/testing/RecordingPrinter.h"
#include "platform/testing/ScriptedUi.h"
#include "tests/listio/LiteralPresortWalk.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <unistd.h>

using namespace quillan;
using quillan::bench::cpuSeconds;
using quillan::bench::peakMegabytes;
namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 100000;
constexpr int kZips = 5000;
constexpr int kGroupsPerTray = 30;

// The mailing timed and the list it is written back into, as a sort command holds them.
struct BenchSort {
    test::TestMailing work;
    ReadList list;
};

double seconds(std::clock_t start) {
    return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void makePieces(AppContext& ctx, BenchSort& b) {
    std::vector<int> zips;
    for (int p = 1; p <= 999 && static_cast<int>(zips.size()) < kZips; ++p)
        if (chartValue(ctx.lists.threeDigitChart, p) != 0)
            for (int local = 0; local < 20; ++local)
                zips.push_back(p * 100 + local);
    zips.resize(std::min<size_t>(zips.size(), kZips));
    std::mt19937 random(2024);
    std::uniform_int_distribution<size_t> pick(0, zips.size() - 1);
    WorkTables& t = b.work.tables;
    t = {};
    b.list.lines.clear();
    const int32_t city = t.cities.add("SOMEWHERE TX");
    for (int r = 1; r <= kRecords; ++r) {
        int zip = zips[pick(random)];
        bool rejected = random() % 100 < 3;
        t.pieces.push_back({.zip = zip,
                            .rejection = rejected ? ZipRejection::Form : ZipRejection::None,
                            .city = city});
        b.list.lines.push_back("\"NAME " + std::to_string(r) + "\",\"" + std::to_string(r) +
                               " MAIN ST\",SOMEWHERE,TX," + zeroPad(zip, 5));
    }
}

// 5-digit packages in ZIP order, kGroupsPerTray to a tray.
void placePieces(BenchSort& b) {
    WorkTables& t = b.work.tables;
    std::map<int32_t, int32_t> pieces;
    for (const Piece& piece : t.pieces)
        if (!piece.rejected())
            ++pieces[piece.zip];
    int32_t g = 0;
    for (const auto& [zip, count] : pieces) {
        int32_t tray = g / kGroupsPerTray;
        t.zipGroups.push_back({zip, count, 0, g});
        t.sortGroups.push_back({GroupKind::FiveDigit, zip, count, tray, false});
        if (t.containers.size() <= static_cast<size_t>(tray))
            t.containers.push_back({0, ContainerKind::FiveDigit, ContainerLevel::FiveDigit,
                                    EntryDiscount::None, "TRAY"});
        ++g;
    }
}

void writeTextList(BenchSort& b, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : b.list.lines)
        out << line << "\r\n";
    b.list.format = formatNamed(KindComma);
    b.list.path = path;
    b.list.state.resetRoles();
    b.list.state.zipColumn = 4;
    b.list.state.fieldCount = 5;
}

void writeDbf(BenchSort& b, const std::string& path) {
    const std::vector<int> widths = {30, 10, 6, 5, 5, 20};
    const char* names[] = {"NAME", "ZIP", "SORT", "TRAY", "PKG", "OEL"};
    int headerLength = 32 + 32 * 6 + 1, recordLength = 77;
    std::string bytes(32, '\0');
    bytes[0] = 3;
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<char>(kRecords >> (8 * i));
    bytes[8] = static_cast<char>(headerLength & 0xFF);
    bytes[9] = static_cast<char>(headerLength >> 8);
    bytes[10] = static_cast<char>(recordLength);
    for (int c = 0; c < 6; ++c) {
        std::string d(32, '\0');
        d.replace(0, std::strlen(names[c]), names[c]);
        d[11] = 'C';
        d[16] = static_cast<char>(widths[c]);
        bytes += d;
    }
    bytes += '\x0D';
    for (int r = 1; r <= kRecords; ++r) {
        std::string record = " NAME " + std::to_string(r);
        record.resize(31, ' ');
        record += zeroPad(b.work.tables.pieces[static_cast<size_t>(r - 1)].zip, 5);
        record.resize(recordLength, ' ');
        bytes += record;
    }
    bytes += '\x1A';
    std::ofstream(path, std::ios::binary) << bytes;
    b.list.format = formatNamed(KindDbase);
    b.list.path = path;
    b.list.state.resetRoles();
    b.list.state.zipColumn = 1;
    b.list.state.sortColumn = 2;
    b.list.state.trayColumn = 3;
    b.list.state.packageColumn = 4;
    b.list.state.endorsementColumn = 5;
    b.list.state.dbfFieldWidths = widths;
    b.list.state.dbf = {headerLength, recordLength, kRecords, kRecords,
                        static_cast<long long>(bytes.size())};
    b.list.state.listStamp = listStampOf(path);
}

// The fill tool's table of the same records: nine Text (50) fields, name first, ZIP fifth;
// the sort information goes into the last three and the endorsement into the sixth.
bool writeAccess(AppContext& ctx, BenchSort& b, const std::string& path) {
    std::string list = path + ".txt";
    {
        std::ofstream out(list, std::ios::binary);
        for (int r = 1; r <= kRecords; ++r)
            out << "NAME " << r << "\t" << r << " MAIN ST\tSOMEWHERE\tTX\t"
                << zeroPad(b.work.tables.pieces[static_cast<size_t>(r - 1)].zip, 5)
                << "\tSOMEWHERE\r\n";
    }
    std::string command =
        std::string("'") + QUILLAN_MDBFILL + "' '" + list + "' '" + path + "' --empty > /dev/null";
    if (std::system(command.c_str()) != 0)
        return false;
    b.list.format = formatNamed(KindAccess);
    b.list.path = path;
    b.list.components = &listComponents(ctx); // the table component a read would have made
    b.list.state.resetRoles();
    b.list.state.accessTableName = "Table1";
    b.list.state.accessFields.clear();
    for (int c = 1; c <= 9; ++c)
        b.list.state.accessFields.push_back({"data" + std::to_string(c < 2 ? c : c + 1),
                                             static_cast<int>(accessdb::TFieldType::String), 50,
                                             false});
    b.list.state.zipColumn = 4;
    b.list.state.endorsementColumn = 5;
    b.list.state.sortColumn = 6;
    b.list.state.trayColumn = 7;
    b.list.state.packageColumn = 8;
    b.list.state.listStamp = listStampOf(path);
    return true;
}

double timeWriter(AppContext& ctx, const BenchSort& b, platform::ScriptedUi& ui, bool& saved) {
    ui.clearRecords();
    const SortedMailing mailing = test::mailingOf(b.work, ctx.lists);
    std::clock_t start = std::clock();
    WriteSortInformation({b.list, mailing, ctx.lists, ctx.separateFilePath(), {}}, ctx.notices(),
                         ctx.progress());
    double s = seconds(start);
    saved = ui.messages().empty(); // unattended: only a failure shows a box
    return s;
}

} // namespace

int main() {
    bench::ScratchProgramFolder scratch("quillan-writer-bench");
    bench::HeadlessPlatform headless;
    platform::ScriptedUi& ui = headless.ui;
    UiNotices notices(ui); // a refused write shows its box, which tells the run failed
    // Started with parameters, as another program would: no closing message.
    AppContext ctx(headless.platform(),
                   platform::resolveProgramPaths(scratch.folder.string() + "/"),
                   {"bench", "NOSTOP"});
    ctx.setNotices(notices);
    LoadDataFiles(ctx);
    BenchSort b;
    b.work.mailClass = MailClass::RNAF;
    makePieces(ctx, b);
    placePieces(b);
    std::printf("%d records, %zu ZIP groups, %zu trays\n", kRecords, b.work.tables.zipGroups.size(),
                b.work.tables.containers.size());

    const SortedMailing sorted = test::mailingOf(b.work, ctx.lists);
    std::clock_t start = std::clock();
    std::vector<PlacedPiece> indexed;
    WalkPresortOrder(sorted, {}, [&](const PlacedPiece& p) { indexed.push_back(p); });
    double walk = seconds(start);
    start = std::clock();
    std::vector<PlacedPiece> literal = test::literalPresortOrder(b.work, ctx.lists);
    double plain = seconds(start);
    bool same = indexed.size() == literal.size();
    for (size_t i = 0; same && i < indexed.size(); ++i)
        same = indexed[i].record == literal[i].record && indexed[i].zipGroup == literal[i].zipGroup;
    std::printf("presort order walk   %8.3f s  (list-scanning walk %.3f s, %s)\n", walk, plain,
                same ? "same order" : "ORDER DIFFERS");

    bool ok = same, saved = false;
    ctx.lists.prefsList[2] = "0";
    writeTextList(b, scratch.file("list.txt"));
    double text = timeWriter(ctx, b, ui, saved);
    ok = ok && saved;
    std::printf("comma list rewrite   %8.3f s  %s\n", text, saved ? "" : "FAILED");

    ctx.lists.prefsList[2] = "1";
    ctx.lists.prefsList[3] = "0";
    ctx.lists.prefsList[4] = "0";
    double separate = timeWriter(ctx, b, ui, saved);
    ok = ok && saved;
    std::printf("separate file        %8.3f s  %s\n", separate, saved ? "" : "FAILED");

    ctx.lists.prefsList[2] = "0";
    writeDbf(b, scratch.file("list.dbf"));
    double dbase = timeWriter(ctx, b, ui, saved);
    ok = ok && saved;
    std::printf("dBase table          %8.3f s  %s\n", dbase, saved ? "" : "FAILED");

    ok = ok && writeAccess(ctx, b, scratch.file("list.mdb"));
    double access = timeWriter(ctx, b, ui, saved);
    ok = ok && saved;
    std::printf("Access table         %8.3f s  %s(%.3f s more than the separate file)\n", access,
                saved ? "" : "FAILED ", access - separate);
    return ok ? 0 : 1;
}
