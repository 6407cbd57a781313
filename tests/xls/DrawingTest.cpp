// Notes, pictures and charts: the model's rules, the Office Drawing records read and
// written, and what other readers see of them.

#include "platform/storage/CompoundFile.h"
#include "platform/testing/ScriptedUi.h"
#include "platform/text/FontMetrics.h"
#include "tests/xls/StructureCheck.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Messages.h"
#include "xls/MsoDrawingReader.h"
#include "xls/MsoGroupReader.h"
#include "xls/RecordId.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/stat.h>

using namespace xls;
using namespace xls::test;
namespace fs = std::filesystem;

namespace {

// A PNG file's signature and header: enough for the size probe and for other readers.
std::string pngBytes(int width, int height, size_t extra) {
    std::string png("\x89PNG\r\n\x1A\n", 8);
    png += std::string("\0\0\0\x0DIHDR", 8);
    for (int value : {width, height})
        for (int shift : {24, 16, 8, 0})
            png += static_cast<char>((value >> shift) & 0xFF);
    png += std::string("\x08\x02\x00\x00\x00\x00\x00\x00\x00", 9);
    for (size_t i = 0; i < extra; ++i)
        png += static_cast<char>(i * 7);
    return png;
}

uint16_t wordAt(const std::string& body, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(body[at]) |
                                 (static_cast<uint8_t>(body[at + 1]) << 8));
}

std::vector<RawRecord> streamRecords(const std::string& file) {
    return recordsOf(platform::CompoundFile::open(file).readStream("Workbook"));
}

XlsPicture& addPicture(Workbook& book, const std::string& data, int32_t blipIndex) {
    XlsPicture& picture = book.pictures().add();
    picture.type = PictureType::Png;
    picture.fileKind = 5;
    picture.blipIndex = blipIndex;
    picture.setMemoryData(data);
    return picture;
}

// Width of "8" 6 pixels, fonts 13 pixels high: columns of the default width are 64 pixels.
class FixedSix : public platform::FontMetrics {
public:
    int textWidth(const platform::FontDescription&, std::string_view text) override {
        return 6 * static_cast<int>(text.size());
    }
    int fontHeight(const platform::FontDescription&) override { return 13; }
};

// A scratch folder made the temporary folder for a test.
class TempFolder {
public:
    TempFolder() {
        const char* old = std::getenv("TMPDIR");
        old_ = old ? old : "";
        setenv("TMPDIR", folder_.file("").c_str(), 1);
    }
    ~TempFolder() {
        if (old_.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", old_.c_str(), 1);
    }
    const ScratchFolder& folder() const { return folder_; }

private:
    ScratchFolder folder_;
    std::string old_;
};

} // namespace

TEST(DrawingTest, NotesAndTheirBoxes) {
    Notes notes;
    Note& note = notes.add();
    EXPECT_EQ(note.name, "Note 0");
    EXPECT_EQ(note.lines, std::vector<std::string>{"Note"});
    EXPECT_EQ(note.row1, 0);
    EXPECT_EQ(note.row2, 2);
    EXPECT_EQ(note.col1, 1);
    EXPECT_EQ(note.col2, 3);
    note.setCellRow(10);
    note.setCellCol(4);
    EXPECT_EQ(note.row1, 9);
    EXPECT_EQ(note.col1, 5);
    EXPECT_EQ(note.cellKey(), cellKey(4, 10));
    note.anchorSet = true; // as read from a file
    note.setCellRow(20);
    EXPECT_EQ(note.row1, 9);
    note.setText("a\r\nb");
    EXPECT_EQ(note.storedText(), "a\nb");
    note.setText("  \r\n");
    EXPECT_EQ(note.storedText(), "");
}

TEST(DrawingTest, PicturesAndPlacements) {
    std::vector<std::string> texts;
    ScratchFolder folder;
    std::string jpeg = folder.file("photo.JPEG");
    writeFile(jpeg, "\xFF\xD8\xFF\xE0");
    std::string bmp = folder.file("dots.bmp");
    writeFile(bmp, std::string(1078, 'B'));
    Workbook book([&texts](const std::string& message) { texts.push_back(message); });
    XlsPicture& photo = book.pictures().add();
    photo.setFilename(jpeg);
    EXPECT_EQ(photo.type, PictureType::Jpeg);
    EXPECT_EQ(photo.fileKind, 4);
    XlsPicture& dots = book.pictures().add();
    dots.setFilename(bmp);
    EXPECT_EQ(dots.type, PictureType::Dib);
    EXPECT_EQ(dots.fileKind, 6);
    EXPECT_EQ(dots.size, 1064);
    EXPECT_EQ(dots.data().size(), 1064u);
    XlsPicture& missing = book.pictures().add();
    missing.setFilename(folder.file("none.png"));
    writeFile(folder.file("text.txt"), "x");
    missing.setFilename(folder.file("text.txt"));
    EXPECT_EQ(missing.type, PictureType::Undefined);

    SheetPicture& placement = book.sheets().item(0).sheetPictures().add();
    placement.setPictureName(folder.file("PHOTO.jpeg"));
    EXPECT_EQ(placement.picture(), &photo);
    EXPECT_EQ(photo.refCount, 1);
    placement.setPictureName("nothing");
    EXPECT_EQ(placement.picture(), nullptr);
    EXPECT_EQ(photo.refCount, 0);
    placement.col2 = 4;
    placement.setCol(10);
    EXPECT_EQ(placement.col2, 12);
    placement.setZoom(1000);
    EXPECT_EQ(placement.zoom(), 100);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "Can not find file \"" + folder.file("none.png") + "\"",
                         "Unknown picture file type \"txt\"", "Value can be between 1% - 999%"}));
}

TEST(DrawingTest, APictureWithoutAnAnchorCoversItsSize) {
    Workbook book;
    FixedSix metrics;
    book.setFontMetrics(&metrics);
    book.sheets().item(0).defaultColWidth = 10; // 10 × 6 + 4 = 64 pixels
    XlsPicture& picture = addPicture(book, pngBytes(200, 100, 10), 1);
    SheetPicture& placement = book.sheets().item(0).sheetPictures().add();
    placement.name = "logo";
    placement.link(&picture);
    placement.setZoom(50);
    placement.col1 = 2;
    placement.row1 = 3;
    std::string file;
    book.writeToStream(file);
    EXPECT_EQ(placement.col2, 3);
    EXPECT_EQ(placement.col2Offset, 576); // 36 of 64 pixels
    EXPECT_EQ(placement.row2, 5);         // rows of 17 pixels: 50 = 17 + 17 + 16
    EXPECT_EQ(placement.row2Offset, 241);

    SheetPicture& unlinked = book.sheets().item(0).sheetPictures().add();
    unlinked.name = "lost";
    EXPECT_THROW(book.writeToStream(file), XlsError);
}

TEST(DrawingTest, OneNoteIsItsRecordSequence) {
    Workbook book;
    Note& note = book.sheets().item(0).notes().add();
    note.setCellRow(2);
    note.setCellCol(1);
    note.lines = {"a", "b"};
    note.author = "Me";
    std::string file;
    book.writeToStream(file);
    EXPECT_EQ(checkWorkbookStructure(file), std::vector<std::string>{});
    std::vector<RawRecord> records = streamRecords(file);
    size_t at = 0;
    while (records[at].id != record::MsoDrawing)
        ++at;
    std::vector<uint16_t> ids;
    for (size_t i = at; i < at + 7; ++i)
        ids.push_back(records[i].id);
    EXPECT_EQ(ids, (std::vector<uint16_t>{record::MsoDrawing, record::Obj, record::MsoDrawing,
                                          record::Txo, record::Continue, record::Continue,
                                          record::Note}));
    EXPECT_EQ(records[at + 1].body.substr(4, 4), std::string("\x19\0\x01\0", 4)); // note, id 1
    EXPECT_EQ(records[at + 2].body.size(), 8u);
    EXPECT_EQ(records[at + 3].body.substr(10, 2), std::string("\x03\0", 2)); // "a\nb"
    EXPECT_EQ(records[at + 4].body, std::string("\0a\nb", 4));
    EXPECT_EQ(records[at + 6].body.substr(0, 8), std::string("\x02\0\x01\0\0\0\x01\0", 8));
    EXPECT_EQ(runTool("xlrd_notes.py", {[&] {
                          static ScratchFolder folder;
                          writeFile(folder.file("note.xls"), file);
                          return folder.file("note.xls");
                      }()}),
              "Sheet 1|2|1|Me|a\\nb\n");

    Workbook back;
    back.readBytes(file);
    ASSERT_EQ(back.sheets().item(0).notes().count(), 1u);
    const Note& read = back.sheets().item(0).notes().item(0);
    EXPECT_EQ(read.cellRow(), 2);
    EXPECT_EQ(read.cellCol(), 1);
    EXPECT_EQ(read.lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(read.author, "Me");
}

TEST(DrawingTest, ThePictureStore) {
    Workbook book;
    addPicture(book, pngBytes(10, 10, 100), 1);
    addPicture(book, pngBytes(20, 20, 20000), 3); // store number 2 stays empty
    SheetPicture& first = book.sheets().item(0).sheetPictures().add();
    first.link(&book.pictures().item(0));
    SheetPicture& second = book.sheets().item(0).sheetPictures().add();
    second.link(&book.pictures().item(1));
    second.anchorSet = true;
    second.col2 = 3;
    std::string file;
    book.writeToStream(file);
    EXPECT_EQ(checkWorkbookStructure(file), std::vector<std::string>{});
    std::vector<RawRecord> records = streamRecords(file);
    size_t group = 0;
    while (records[group].id != record::MsoDrawingGroup)
        ++group;
    EXPECT_EQ(records[group].body.size(), 8224u); // the big picture goes on in CONTINUE
    EXPECT_EQ(records[group + 1].id, record::Continue);

    Workbook back;
    back.picturesInMemory = true;
    back.readBytes(file);
    ASSERT_EQ(back.pictures().count(), 2u);
    EXPECT_EQ(back.pictures().item(0).blipIndex, 1);
    EXPECT_EQ(back.pictures().item(1).blipIndex, 3);
    EXPECT_EQ(back.pictures().item(1).data(), pngBytes(20, 20, 20000));
    ASSERT_EQ(back.sheets().item(0).sheetPictures().count(), 2u);
    EXPECT_EQ(back.sheets().item(0).sheetPictures().item(1).picture(), &back.pictures().item(1));
    EXPECT_EQ(back.sheets().item(0).sheetPictures().item(1).col2, 3);
    EXPECT_EQ(back.pictures().item(1).refCount, 1);
}

TEST(DrawingTest, TemporaryPictureFiles) {
    TempFolder temp;
    Workbook book;
    addPicture(book, pngBytes(5, 5, 10), 1);
    XlsPicture& dib = book.pictures().add();
    dib.type = PictureType::Dib;
    dib.fileKind = 6;
    dib.blipIndex = 2;
    dib.setMemoryData(std::string(40, 'D'));
    // Pictures are written where a sheet shows them.
    for (size_t i = 0; i < 2; ++i)
        book.sheets().item(0).sheetPictures().add().link(&book.pictures().item(i));
    std::string file;
    book.writeToStream(file);

    Workbook back;
    back.readBytes(file);
    ASSERT_EQ(back.pictures().count(), 2u);
    EXPECT_EQ(temp.folder().entryCount(), 2u);
    const XlsPicture& bitmap = back.pictures().item(1);
    EXPECT_EQ(fs::path(bitmap.filename()).parent_path(),
              fs::path(temp.folder().file("")).parent_path());
    EXPECT_EQ(fs::path(bitmap.filename()).extension(), ".bmp");
    struct stat status {};
    ASSERT_EQ(stat(bitmap.filename().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    std::string written = readFile(bitmap.filename());
    EXPECT_EQ(written.substr(0, 14), std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14));
    EXPECT_EQ(written.substr(14), std::string(40, 'D'));
    EXPECT_EQ(bitmap.data(), std::string(40, 'D'));
    back.clear();
    EXPECT_EQ(temp.folder().entryCount(), 0u);

    Workbook inMemory;
    inMemory.picturesInMemory = true;
    inMemory.readBytes(file);
    EXPECT_EQ(inMemory.pictures().count(), 2u);
    EXPECT_EQ(temp.folder().entryCount(), 0u);
}

TEST(DrawingTest, ChartsOfTheLibrary) {
    auto chartRecords = [](ChartStyle style, bool withEverything) {
        Workbook book;
        XlsChart& chart = book.sheets().item(0).charts().add();
        chart.style = style;
        chart.legendIncluded = withEverything;
        if (withEverything) {
            chart.title = "Pieces";
            chart.categoryTitle = "Trays";
            ChartSerie& serie = chart.addSerie();
            serie.serieName = std::string(300, 's');
            serie.setArea("'Sheet 1'!$A$1:$A$5");
            serie.color = 10;
            chart.addSerie().setArea("'Sheet 1'!$B$1:$B$5");
        }
        std::string file;
        book.writeToStream(file);
        EXPECT_EQ(checkWorkbookStructure(file), std::vector<std::string>{});
        std::vector<RawRecord> records = streamRecords(file);
        size_t bof = 1;
        while (records[bof].id != record::Bof || wordAt(records[bof].body, 2) != 0x20)
            ++bof;
        std::vector<RawRecord> chart8;
        for (size_t i = bof + 1; records[i].id != record::Eof; ++i)
            chart8.push_back(records[i]);
        return chart8;
    };
    auto count = [](const std::vector<RawRecord>& records, uint16_t id) {
        return std::count_if(records.begin(), records.end(),
                             [id](const RawRecord& r) { return r.id == id; });
    };
    std::vector<RawRecord> bare = chartRecords(ChartStyle::Column, false);
    for (uint16_t id : {0x1003, 0x100D, 0x1015, 0x1027})
        EXPECT_EQ(count(bare, id), 0) << id;
    EXPECT_EQ(count(bare, 0x1065), 3);
    EXPECT_EQ(count(bare, 0x103A), 0);

    std::vector<RawRecord> pie = chartRecords(ChartStyle::Pie3d, true);
    EXPECT_EQ(count(pie, 0x1019), 1);
    EXPECT_EQ(count(pie, 0x103A), 1);
    for (const RawRecord& r : pie) {
        if (r.id == 0x1014) {
            EXPECT_EQ(wordAt(r.body, 16), 1); // varied colours
        }
        if (r.id == 0x100D && wordAt(r.body, 0) == 0 && r.body.size() > 200) {
            EXPECT_EQ(static_cast<uint8_t>(r.body[2]), 255); // the long series name is cut
        }
    }
    EXPECT_EQ(count(pie, 0x1003), 2);
    EXPECT_EQ(count(pie, 0x100A), 3); // the chart's frame, the coloured series, the plot area
    std::vector<RawRecord> lineMark = chartRecords(ChartStyle::LineMark, false);
    for (const RawRecord& r : lineMark)
        if (r.id == 0x1017) {
            EXPECT_EQ(r.body, std::string("\0\0\x96\0\0\0", 6));
        }

    Workbook book;
    ChartSerie& serie = book.sheets().item(0).charts().add().addSerie();
    serie.setArea("'Sheet 1'!$A$1:$A$5");
    EXPECT_EQ(serie.area(), "Sheet 1!$A$1:$A$5");
    EXPECT_EQ(serie.categories(), "");
}

// Random and damaged drawing data: the readers stop or go on, nothing else.
TEST(DrawingTest, DamagedDrawingRecords) {
    std::mt19937 random(11);
    auto header = [](uint16_t versionInstance, uint16_t type, uint32_t length) {
        return word(versionInstance) + word(type) + dword(length);
    };
    std::vector<std::string> payloads = {
        "",
        header(0x000F, 0xF000, 100) + header(0x0000, 0xF006, 16) + dword(2048) + dword(0) +
            dword(1) + dword(1),                                     // a DGG of no clusters
        header(0x0002, 0xF007, 36) + std::string(33, '\0') + "\x05", // a named store entry
        header(0x46A0, 0xF01D, 5) + "short",
        header(0x0010, 0xF010, 0xFFFFFFF0) + std::string(20, '\0'),
        header(0x0033, 0xF00B, 12) + word(0x4104) + dword(0xFFFFFFFF) + word(0xC105) +
            dword(0x7FFFFFFF),
        header(0x0000, 0xF0FF, 0),
    };
    for (int i = 0; i < 300; ++i) {
        std::string bytes;
        for (int n = 0; n < 6; ++n) {
            uint16_t types[] = {0xF000, 0xF001, 0xF002, 0xF004, 0xF006, 0xF007, 0xF00A,
                                0xF00B, 0xF010, 0xF01D, 0xF01E, 0xF01F, 0xF11E, 0xF122};
            uint16_t type = types[random() % 14];
            uint32_t length = random() % 3 == 0 ? random() : random() % 64;
            bytes += header(static_cast<uint16_t>(random()), type, length);
            bytes += std::string(random() % 64, static_cast<char>(random()));
        }
        payloads.push_back(bytes);
    }
    int pictures = 0, shapes = 0;
    for (const std::string& payload : payloads) {
        MsoGroupReader group;
        group.picturesInMemory = true;
        group.onPicture = [&](XlsPicture&&) { ++pictures; };
        try {
            group.read(payload);
        } catch (const XlsError&) {
        }
        MsoDrawingReader drawing;
        drawing.onShape = [&](const MsoDrawingReader::Shape&) { ++shapes; };
        drawing.read(payload);
        // The same inside a workbook.
        std::string stream =
            biff8Sheets(test::record(0x00EB, payload.substr(0, 8224)),
                        {{"S", test::record(0x00EC, payload.substr(0, 8224)) +
                                   test::record(0x005D, word(0x15) + word(18) + word(0x19) +
                                                            word(1) + std::string(14, '\0') +
                                                            word(0x0D) + word(0) + dword(0))}});
        Workbook book;
        book.picturesInMemory = true;
        try {
            book.readBytes(compoundFile(stream));
        } catch (const XlsError&) {
        }
    }
    SUCCEED() << pictures << " pictures and " << shapes << " shapes out of damaged data";
}

TEST(DrawingTest, CorpusPicturesAreTheirBlips) {
    REQUIRE_XLS_CORPUS();
    for (const char* file :
         {"calamine/picture.xls", "poi/SimpleWithImages.xls", "poi/SheetWithDrawing.xls"}) {
        Workbook book;
        book.picturesInMemory = true;
        book.setFilename(corpusPath(file));
        book.read();
        ASSERT_GT(book.pictures().count(), 0u) << file;
        ScratchFolder folder;
        for (size_t i = 0; i < book.pictures().count(); ++i)
            writeFile(folder.file(std::to_string(book.pictures().item(i).blipIndex) + ".bin"),
                      book.pictures().item(i).data());
        std::string answer = runTool("blips.py", {corpusPath(file), folder.file("")});
        EXPECT_EQ(answer, "ok " + std::to_string(book.pictures().count()) + "\n") << file;
    }
}
