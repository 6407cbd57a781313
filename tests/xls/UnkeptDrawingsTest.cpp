// Drawn objects the drawing writer cannot make: carried through as read by a write in the
// version read, counted by the reader, and refused by a write that has to make the drawing,
// so that they are not dropped from the user's file.

#include "platform/storage/CompoundFile.h"
#include "tests/xls/XlsTestSupport.h"
#include "xls/Workbook.h"
#include "xls/XlsError.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

constexpr uint16_t MsoDrawingGroup = 0x00EB;
constexpr uint16_t MsoDrawing = 0x00EC;
constexpr uint16_t Obj = 0x005D;
constexpr uint16_t Txo = 0x01B6;
constexpr uint16_t Continue = 0x003C;

// Object types of OBJ records.
constexpr uint16_t GroupObject = 0x00;
constexpr uint16_t TextObject = 0x06;
constexpr uint16_t PictureObject = 0x08;
constexpr uint16_t CheckBoxObject = 0x0B;
constexpr uint16_t DropDownObject = 0x14;
constexpr uint16_t ApplicationMade = 0x2101; // the flags of a filter arrow

// Shape types of the drawing records.
constexpr uint16_t TextBoxShape = 202;
constexpr uint16_t PictureShape = 75;
constexpr uint16_t HostControlShape = 201; // form controls and charts alike

// An Office Drawing record: version and instance, type, body.
std::string mso(uint16_t versionInstance, uint16_t type, const std::string& body) {
    return word(versionInstance) + word(type) + dword(static_cast<uint32_t>(body.size())) + body;
}

std::string container(uint16_t type, const std::string& children) {
    return mso(0x000F, type, children);
}

// The properties of a picture shape: the picture's place in the store.
std::string showsPicture(uint32_t blipIndex) {
    return mso(0x0013, 0xF00B, word(0x4104) + dword(blipIndex));
}

// A shape: its Sp, properties, anchor (a child's inside a group) and client data.
std::string shape(uint16_t shapeType, uint32_t id, const std::string& options = "",
                  bool child = false) {
    std::string anchor = child ? mso(0, 0xF00F, std::string(16, '\0'))
                               : mso(0, 0xF010,
                                     word(2) + word(1) + word(0) + word(2) + word(0) + word(4) +
                                         word(0) + word(6) + word(0));
    uint32_t flags = child ? 0x0A02 : 0x0A00;
    return container(0xF004, mso(static_cast<uint16_t>(0x0002 | (shapeType << 4)), 0xF00A,
                                 dword(id) + dword(flags)) +
                                 options + anchor + mso(0, 0xF011, ""));
}

// The first drawing record of a sheet carries the drawing's own records before its shape.
std::string drawingStart() {
    std::string patriarch = container(0xF004, mso(0x0001, 0xF009, std::string(16, '\0')) +
                                                  mso(0x0002, 0xF00A, dword(1024) + dword(5)));
    return mso(0x000F, 0xF002, "") + mso(0x0010, 0xF008, dword(2) + dword(1030)) +
           mso(0x000F, 0xF003, "") + patriarch;
}

std::string objRecord(uint16_t type, uint16_t id, uint16_t flags, const std::string& rest = "") {
    return record(Obj, word(0x15) + word(18) + word(type) + word(id) + word(flags) +
                           std::string(12, '\0') + rest + word(0) + word(0));
}

std::string pictureData() {
    return word(0x0007) + word(2) + word(2) + word(0x0008) + word(2) + word(1);
}

// A text box: its shape and OBJ, its text box record, the text and its formatting runs. The
// drawing's own records may go ahead of its shape.
std::string textBox(uint32_t id, const std::string& text, const std::string& before = "") {
    return record(MsoDrawing, before + shape(TextBoxShape, id)) +
           objRecord(TextObject, static_cast<uint16_t>(id - 1024), 0x6011) +
           record(MsoDrawing, mso(0, 0xF00D, "")) +
           record(Txo, word(0x0212) + word(0) + std::string(6, '\0') +
                           word(static_cast<uint16_t>(text.size())) + word(16) + dword(0)) +
           record(Continue, std::string(1, '\0') + text) + record(Continue, std::string(16, '\0'));
}

// A PNG picture of the store: its store entry and its blip.
std::string storeEntry(char tag) {
    std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(24, tag);
    std::string blip = mso(0x6E00, 0xF01E, std::string(16, tag) + "\xFF" + png);
    std::string entry = std::string(1, '\x06') + std::string(1, '\x06') + std::string(16, tag) +
                        word(0x00FF) + dword(static_cast<uint32_t>(blip.size())) + dword(1) +
                        dword(0) + std::string(4, '\0');
    return mso(0x0062, 0xF007, entry + blip);
}

// The drawing group with three pictures in its store.
std::string drawingGroup() {
    std::string dgg =
        mso(0, 0xF006, dword(2048) + dword(2) + dword(8) + dword(1) + dword(1) + dword(8));
    std::string store = mso(0x003F, 0xF001, storeEntry('a') + storeEntry('b') + storeEntry('c'));
    return record(MsoDrawingGroup, container(0xF000, dgg + store));
}

std::string fileWith(const std::string& globals, const std::string& sheetRecords) {
    return compoundFile(biff8Sheets(globals, {{"S", sheetRecords}}));
}

// One sheet showing picture 1 of the store, the kind the writer keeps.
std::string keptPicture(uint32_t id) {
    return record(MsoDrawing, shape(PictureShape, id, showsPicture(1))) +
           objRecord(PictureObject, 2, 0x6011, pictureData());
}

// The workbook as the program meets it: a file beside others, written over on success only.
struct FileOnDisk {
    ScratchFolder folder;
    std::string path = folder.file("mailer.xls");
    std::string bytes;

    explicit FileOnDisk(std::string fileBytes) : bytes(std::move(fileBytes)) {
        writeFile(path, bytes);
    }
};

} // namespace

// A text box, a second one, a check box, a filter arrow, a group holding a picture and an
// embedded object beside a picture the writer keeps.
TEST(UnkeptDrawingsTest, WhatAWriteWouldDropIsCountedAndTheWriteRefused) {
    std::string sheet =
        textBox(1025, "Hello", drawingStart()) + textBox(1026, "Second") + keptPicture(1027) +
        record(MsoDrawing, shape(HostControlShape, 1028)) + objRecord(CheckBoxObject, 4, 0x4011) +
        record(MsoDrawing, shape(HostControlShape, 1029)) +
        objRecord(DropDownObject, 5, ApplicationMade, word(0x0013) + word(0) + dword(0)) +
        record(MsoDrawing,
               mso(0x000F, 0xF003, "") +
                   container(0xF004, mso(0x0001, 0xF009, std::string(16, '\0')) +
                                         mso(0x0002, 0xF00A, dword(1030) + dword(0x0201)) +
                                         mso(0, 0xF010, std::string(18, '\0')))) +
        objRecord(GroupObject, 6, 0x6011) +
        record(MsoDrawing, shape(PictureShape, 1031, showsPicture(2), true)) +
        objRecord(PictureObject, 7, 0x6011, pictureData()) +
        record(MsoDrawing, shape(PictureShape, 1032, showsPicture(1))) +
        objRecord(PictureObject, 8, 0x6011, pictureData() + word(0x0009) + word(4) + dword(0));
    FileOnDisk file(fileWith(drawingGroup(), sheet));
    Workbook book;
    book.picturesInMemory = true;
    book.setFilename(file.path);
    book.read();

    Sheet& read = book.sheets().item(0);
    const UnkeptShapes& unkept = read.unkeptShapes();
    EXPECT_EQ(unkept.count(ShapeKind::TextBox), 2u);
    EXPECT_EQ(unkept.count(ShapeKind::FormControl), 1u); // the filter arrow is the sheet's own
    EXPECT_EQ(unkept.count(ShapeKind::Group), 1u);
    EXPECT_EQ(unkept.count(ShapeKind::Picture), 1u);
    EXPECT_EQ(unkept.count(ShapeKind::EmbeddedObject), 1u);
    EXPECT_EQ(unkept.total(), 6u);
    // The controls' shapes look like charts' and leave none behind.
    EXPECT_EQ(read.inFileCharts().count(), 0u);
    EXPECT_EQ(book.chartCount(), 0u);
    // Nor does the embedded object's shape leave a picture: only the kept one is placed.
    ASSERT_EQ(read.sheetPictures().count(), 1u);
    EXPECT_EQ(read.sheetPictures().item(0).picture(), &book.pictures().item(0));

    // Written back in its own version the drawing goes back as it was read, text boxes and
    // all, while the cells change.
    EXPECT_EQ(book.unkeptDrawings(), "");
    read.setAsString(0, 0, "changed");
    book.write();
    std::string stream = platform::CompoundFile::open(readFile(file.path)).readStream("Workbook");
    EXPECT_NE(stream.find(sheet), std::string::npos);
    Workbook back;
    back.readBytes(readFile(file.path));
    EXPECT_EQ(back.sheets().item(0).unkeptShapes().total(), 6u);
    EXPECT_EQ(back.sheets().item(0).getAsString(0, 0), "changed");
    writeFile(file.path, file.bytes);

    // Once a note is added the writer makes the drawing itself, and what it cannot make
    // refuses the write.
    read.notes().add().setCellRow(3);
    std::string expected = "2 text boxes, 1 form control, 1 group of shapes, 1 picture and 1 "
                           "embedded object on sheet \"S\"";
    EXPECT_EQ(book.unkeptDrawings(), expected);
    try {
        book.write();
        FAIL() << "written without its text boxes";
    } catch (const XlsError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "This workbook holds " + expected + " that cannot be written back.");
    }
    EXPECT_EQ(readFile(file.path), file.bytes);
    EXPECT_EQ(file.folder.entryCount(), 1u); // no temporary file left beside it
    std::string target = "kept";
    EXPECT_THROW(book.writeToStream(target), XlsError);
    EXPECT_EQ(target, "kept");

    // What the program empties, or reads anew, no longer stands in the way.
    book.clear();
    EXPECT_EQ(book.unkeptDrawings(), "");
    EXPECT_NO_THROW(book.writeToStream(target));
    book.readBytes(file.bytes);
    EXPECT_EQ(book.sheets().item(0).unkeptShapes().total(), 6u);
    book.sheets().item(0).clear();
    EXPECT_EQ(book.unkeptDrawings(), "");
}

// A picture of the store that no shape shows is written back with the store: nothing is lost.
TEST(UnkeptDrawingsTest, AWorkbookOfKeptDrawingsIsWrittenAsBefore) {
    std::string globals = record(
        MsoDrawingGroup, container(0xF000, mso(0x002F, 0xF001, storeEntry('a') + storeEntry('b'))));
    FileOnDisk file(fileWith(
        globals, record(MsoDrawing, drawingStart() + shape(PictureShape, 1025, showsPicture(1))) +
                     objRecord(PictureObject, 1, 0x6011, pictureData())));
    Workbook book;
    book.picturesInMemory = true;
    book.setFilename(file.path);
    book.read();
    EXPECT_EQ(book.unkeptDrawings(), "");
    book.sheets().item(0).setAsString(0, 0, "changed");
    book.write();
    EXPECT_NE(readFile(file.path), file.bytes);

    Workbook back;
    back.picturesInMemory = true;
    back.setFilename(file.path);
    back.read();
    EXPECT_EQ(back.unkeptDrawings(), "");
    EXPECT_EQ(back.sheetPictureCount(), 1u);
    ASSERT_EQ(back.pictures().count(), 2u);
    EXPECT_EQ(back.pictures().item(1).blipIndex, 2);
    EXPECT_EQ(back.sheets().item(0).getAsString(0, 0), "changed");
}

// Before BIFF8 the writer makes no drawn object: the objects of those files go back as they
// were into their own version, and refuse a write into another. An OBJ in that layout inside
// a BIFF8 file goes back as it was too, until the writer has to make the drawing itself.
TEST(UnkeptDrawingsTest, ObjectsOfEarlierLayoutsGoBackOnlyIntoTheirOwnVersion) {
    std::string biff5Object = record(Obj, dword(1) + word(PictureObject) + word(1) + word(0x0014) +
                                              std::string(26, '\0'));
    for (ExcelVersion version : {ExcelVersion::Excel40, ExcelVersion::Excel50}) {
        Workbook book;
        book.setVersion(version);
        book.sheets().item(0).setAsString(0, 0, "x");
        std::string written;
        book.writeToStream(written);
        bool plain = version == ExcelVersion::Excel40;
        auto streamOf = [plain](const std::string& file) {
            return plain ? file : platform::CompoundFile::open(file).readStream("Book");
        };
        std::string stream = streamOf(written);
        // The sheet is the last substream: the objects go in before its EOF.
        ASSERT_EQ(stream.substr(stream.size() - 4), std::string("\x0A\0\0\0", 4));
        stream.insert(stream.size() - 4, biff5Object + biff5Object);
        Workbook read;
        read.readBytes(plain ? stream : compoundFile(stream, "Book"));
        EXPECT_EQ(read.sheets().item(0).unkeptShapes().count(ShapeKind::Picture), 2u);
        written.clear();
        read.writeToStream(written);
        EXPECT_NE(streamOf(written).find(biff5Object + biff5Object), std::string::npos);
        read.setVersion(ExcelVersion::Excel97);
        EXPECT_EQ(read.unkeptDrawings(), "2 pictures on sheet \"Sheet 1\"");
        EXPECT_THROW(read.writeToStream(written), XlsError);
    }
    Workbook book;
    book.readBytes(fileWith("", biff5Object));
    EXPECT_EQ(book.unkeptDrawings(), "");
    book.sheets().item(0).notes().add();
    EXPECT_EQ(book.unkeptDrawings(), "1 picture on sheet \"S\"");
}
