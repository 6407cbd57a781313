#include "platform/storage/CompoundFile.h"
#include "platform/storage/CompoundWriter.h"
#include "platform/storage/StorageError.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;
using platform::StorageError;

namespace {

std::string compoundWith(const std::string& streamName, const std::string& bytes) {
    platform::CompoundWriter writer;
    writer.addStream(streamName, bytes);
    return writer.finish();
}

std::string filledBytes(size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 12345;
    for (char& c : bytes) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

// What a workbook read through the stream layer turns out to be: version and stream bytes.
struct Opened {
    ExcelVersion version;
    std::string stream;
};

Opened openBytes(std::string file) {
    XlsStream stream;
    Opened opened{stream.openReadBytes(std::move(file)), {}};
    opened.stream.resize(stream.size());
    stream.read(opened.stream.data(), opened.stream.size());
    return opened;
}

} // namespace

TEST(CompoundFileTest, WorkbookStreamsOfEverySizeComeBackIdentical) {
    ScratchFolder folder;
    struct Case {
        size_t size;
        bool biff;
    };
    for (Case c : {Case{0, false}, Case{100, false}, Case{4095, true}, Case{4096, true},
                   Case{5000, true}, Case{8 * 1024 * 1024, true}, Case{4097, false}}) {
        SCOPED_TRACE(c.size);
        std::string workbook = c.biff ? biff8Workbook(c.size) : filledBytes(c.size);
        ASSERT_EQ(workbook.size(), c.size);
        std::string out;
        XlsStream stream;
        stream.openWriteToMemory(out, ExcelVersion::Excel97);
        stream.writeRaw(workbook);
        stream.close();

        Opened back = openBytes(out);
        EXPECT_EQ(back.version, ExcelVersion::Excel97);
        EXPECT_TRUE(back.stream == workbook);

        std::string path = folder.file("book" + std::to_string(c.size) + ".xls");
        std::string expected = folder.file("expected.bin");
        writeFile(path, out);
        writeFile(expected, workbook);
        EXPECT_EQ(runTool("ole_check.py", {"stream", path, "Workbook", expected}), "ok\n");
        if (c.biff) {
            EXPECT_EQ(runTool("xlrd_check.py", {path}), "S|1.5\n");
        }
    }
}

TEST(CompoundFileTest, BiffFiveGoesIntoBookAndVersionFollowsTheStreamName) {
    std::string out;
    XlsStream stream;
    stream.openWriteToMemory(out, ExcelVersion::Excel50);
    stream.writeRaw("biff5");
    stream.close();
    platform::CompoundFile file = platform::CompoundFile::open(out);
    ASSERT_NE(file.find("Book"), nullptr);
    EXPECT_EQ(file.find("Workbook"), nullptr);
    EXPECT_EQ(openBytes(out).version, ExcelVersion::Excel50);

    platform::CompoundWriter both;
    both.addStream("Book", "old");
    both.addStream("Workbook", "new");
    Opened opened = openBytes(both.finish());
    EXPECT_EQ(opened.version, ExcelVersion::Excel97);
    EXPECT_EQ(opened.stream, "new");

    EXPECT_EQ(openBytes(compoundWith("WORKBOOK", "caps")).stream, "caps");
    EXPECT_EQ(openBytes(compoundWith("bOoK", "mixed")).version, ExcelVersion::Excel50);
    try {
        openBytes(compoundWith("Sheet", "x"));
        FAIL() << "a compound file without a workbook stream was read";
    } catch (const XlsError& e) {
        EXPECT_STREQ(e.what(), "File is not a Excel Workbook");
    }
}

TEST(CompoundFileTest, StreamNamesOfOtherWritersAreFoundInAnyCase) {
    REQUIRE_XLS_CORPUS();
    struct Case {
        const char* file;
        ExcelVersion version;
    };
    for (Case c :
         {Case{"poi/BOOK_in_capitals.xls", ExcelVersion::Excel50},
          Case{"poi/WORKBOOK_in_capitals.xls", ExcelVersion::Excel97},
          Case{"calamine/capitalized_wbook_stream.xls", ExcelVersion::Excel50},
          Case{"exceldatareader/Test_git_issue_532_mulcells.xls", ExcelVersion::Excel97}}) {
        SCOPED_TRACE(c.file);
        Opened opened = openBytes(readFile(corpusPath(c.file)));
        EXPECT_EQ(opened.version, c.version);
        ASSERT_GE(opened.stream.size(), 4u);
        EXPECT_EQ(opened.stream[0], '\x09') << "the stream starts with a BOF record";
    }
}

TEST(CompoundFileTest, MacroStoragesAndDocumentPropertiesAreCarriedIntoTheWrittenFile) {
    REQUIRE_XLS_CORPUS();
    ScratchFolder folder;
    for (const char* name :
         {"calamine/any_sheets.xls", "exceldatareader/Test_git_issue_532_mulcells.xls"}) {
        SCOPED_TRACE(name);
        XlsStream::KeptStorages kept;
        XlsStream::KeptStreams properties;
        XlsStream stream;
        stream.setKeptStorages(&kept);
        stream.setKeptStreams(&properties);
        stream.setCopyStorages(true);
        ASSERT_EQ(stream.openRead(corpusPath(name)), ExcelVersion::Excel97);
        std::string workbook(stream.size(), '\0');
        stream.read(workbook.data(), workbook.size());
        ASSERT_FALSE(kept.empty());
        ASSERT_FALSE(properties.empty());

        std::string path = folder.file("copy.xls");
        stream.openWrite(path, ExcelVersion::Excel97);
        stream.writeRaw(workbook);
        stream.writeExtraObjects();
        stream.close();
        EXPECT_EQ(runTool("ole_check.py", {"storage", corpusPath(name), path, "_VBA_PROJECT_CUR"})
                      .substr(0, 2),
                  "ok");
        // The summary and document summary streams, and whatever else stood beside the
        // workbook stream, come back byte for byte.
        XlsStream::KeptStreams reread;
        XlsStream again;
        again.setKeptStreams(&reread);
        again.openRead(path);
        ASSERT_EQ(reread.size(), properties.size());
        for (size_t i = 0; i < reread.size(); ++i) {
            EXPECT_EQ(reread[i].name, properties[i].name);
            EXPECT_EQ(reread[i].bytes, properties[i].bytes) << properties[i].name;
        }

        XlsStream::KeptStorages none;
        XlsStream::KeptStreams noStreams;
        stream.setKeptStorages(&none);
        stream.setKeptStreams(&noStreams);
        stream.setCopyStorages(false);
        stream.openRead(corpusPath(name));
        EXPECT_TRUE(none.empty()) << "nothing is kept with copying off";
        EXPECT_TRUE(noStreams.empty());
    }
}

TEST(CompoundFileTest, DamagedContainersRaiseTheStorageError) {
    std::string good = compoundWith("Workbook", biff8Workbook(20000));
    auto expectStorageError = [](std::string bytes, const char* what) {
        SCOPED_TRACE(what);
        EXPECT_THROW(openBytes(std::move(bytes)), StorageError);
    };
    auto put32 = [](std::string& bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
    };
    auto get32 = [](const std::string& bytes, size_t at) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + static_cast<size_t>(i)]))
                     << (8 * i);
        return value;
    };
    expectStorageError(good.substr(0, 8), "signature only");
    expectStorageError(good.substr(0, 512), "header only");
    expectStorageError(good.substr(0, good.size() / 2), "cut in half");

    std::string shift = good;
    shift[30] = 40; // sector shift far beyond the format's sizes
    expectStorageError(shift, "sector shift");

    std::string directory = good;
    put32(directory, 48, 0x7FFFFFF0); // first directory sector outside the file
    expectStorageError(directory, "directory start");

    // The workbook's chain loops back onto its first sector.
    std::string loop = good;
    uint32_t fatSector = get32(good, 76);
    uint32_t directorySector = get32(good, 48);
    size_t directoryAt = 512 + directorySector * 512;
    size_t workbookEntry = directoryAt + 128;
    uint32_t firstSector = get32(good, workbookEntry + 116);
    put32(loop, 512 + fatSector * 512 + firstSector * 4, firstSector);
    expectStorageError(loop, "FAT loop");

    std::string oversize = good;
    put32(oversize, workbookEntry + 120, 0xFFFFFFF0);
    expectStorageError(oversize, "oversize directory entry");
}

TEST(CompoundFileTest, CorruptCorpusFilesAreReadOrRefusedCleanly) {
    REQUIRE_XLS_CORPUS();
    size_t checked = 0;
    for (const char* source : {"calamine", "exceldatareader", "libxls", "poi", "sheetjs", "xlrd"}) {
        for (const std::string& path : corpusFiles(std::string(source) + "/corrupt")) {
            SCOPED_TRACE(path);
            ++checked;
            try {
                Opened opened = openBytes(readFile(path));
                EXPECT_LE(opened.stream.size(), readFile(path).size());
            } catch (const StorageError&) {
            } catch (const XlsError&) {
            }
        }
    }
    EXPECT_GT(checked, 30u);
}
