#pragma once

#include "platform/storage/CompoundFile.h"
#include "platform/storage/StorageTree.h"
#include "xls/ExcelVersion.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

enum class SeekOrigin { Begin = 0, Current = 1, End = 2 };

struct RecordHeader {
    uint16_t id = 0;
    uint16_t length = 0;
};

// The byte channel under the workbook reader and writer. BIFF2 to BIFF4 workbooks are plain
// files of records; BIFF5 and BIFF8 workbooks are the stream "Book" or "Workbook" of a
// compound file. Reading takes the whole file, then the whole workbook stream, into memory;
// writing builds the whole workbook stream in memory, and close() wraps it in a compound
// file where the version asks for one and saves it beside the target before renaming it over,
// so a failed write never harms the user's file.
class XlsStream {
public:
    using KeptStorages = std::vector<platform::StorageTree>;
    using KeptStreams = std::vector<platform::StorageTree::Stream>;

    XlsStream();
    XlsStream(const XlsStream&) = delete;
    XlsStream& operator=(const XlsStream&) = delete;
    ~XlsStream(); // abandons an unfinished write

    // Sub-storages of the source compound file other than the workbook stream (macros and
    // the like) go into this list when copying is on; writeExtraObjects() puts the list's
    // storages into the output. The list belongs to the caller.
    void setKeptStorages(KeptStorages* storages) { kept_ = storages; }
    void setCopyStorages(bool on) { copyStorages_ = on; }
    // The same for the source's other streams beside the workbook stream (its document
    // properties, "\x05SummaryInformation" and the like), written back with the storages.
    void setKeptStreams(KeptStreams* streams) { keptStreams_ = streams; }

    // Opens a workbook file and tells its version: None for a plain file that does not
    // start with a BOF record of BIFF2 to BIFF4. A compound file without a workbook stream
    // raises "File is not a Excel Workbook"; a damaged one raises platform::StorageError.
    ExcelVersion openRead(const std::string& fileName);
    ExcelVersion openReadBytes(std::string fileBytes);

    // Output for a version: a plain file below BIFF5, else a compound file with the stream
    // "Book" (BIFF5) or "Workbook" (BIFF8). The first form saves to the file at close(); the
    // second appends the finished file to the caller's target.
    void openWrite(const std::string& fileName, ExcelVersion version);
    void openWriteToMemory(std::string& target, ExcelVersion version);

    // Finishes a write (the output is saved only here) or ends a read. Raises XlsError when
    // the file cannot be saved, platform::StorageError when the compound file cannot be built.
    void close();
    // Ends whatever is open; an unfinished write is dropped and the target is left untouched.
    void abandon();

    bool reading() const { return mode_ == Mode::Read; }
    bool writing() const { return mode_ == Mode::Write; }

    // Reading: up to count bytes from the position.
    size_t read(void* buffer, size_t count);
    // A view of up to count bytes from the position, valid until the stream is closed.
    std::string_view readView(size_t count);
    // False, and nothing consumed, when fewer than 4 bytes are left.
    bool readHeader(RecordHeader& header);
    // The byte size of the workbook stream (or plain file) being read or written.
    uint64_t size() const { return bytes().size(); }

    uint64_t position() const { return position_; }
    // Raises RangeError for a target outside the data.
    void seek(int64_t offset, SeekOrigin origin);

    // Told of each record about to be written through writeRecord, or announced by a writer
    // that writes a record in pieces; what it writes itself (raw) it is not told of.
    void setRecordHook(std::function<void(uint16_t id, std::string_view body)> hook) {
        recordHook_ = std::move(hook);
    }
    void announceRecord(uint16_t id, std::string_view body);

    // Writing. Header and raw bytes go straight out; data bytes count towards the current
    // record and, in split mode, are split into CONTINUE records.
    void writeHeader(uint16_t id, uint16_t length);
    void writeRecord(uint16_t id, std::string_view body);
    void writeWordRecord(uint16_t id, uint16_t value);
    void writeRaw(std::string_view bytes);
    void writeData(std::string_view bytes);
    void writeWord(uint16_t value); // as data

    // One long record: beginSplit before its header, the body through writeData, endSplit
    // after it. Each record of the split gets at most max body bytes.
    void beginSplit(int max);
    void endSplit();

    // Texts written through writeXlsString become UTF-16 whatever their characters.
    void setUnicodeStrings(bool on) { unicodeStrings_ = on; }
    // A text as a character count and its flagged bytes, both raw; nothing for "".
    void writeXlsString(std::string_view text);
    // A flagged string as a raw character count and its bytes as data; "" gives a count 0.
    void writeFlaggedString(std::string_view flagged);

    // Puts the kept storages into the output compound file when it is finished.
    void writeExtraObjects();

private:
    enum class Mode { Closed, Read, Write };

    ExcelVersion openCompound(std::string fileBytes);
    static ExcelVersion plainVersion(std::string_view fileBytes);
    void startWrite(ExcelVersion version);
    void put(std::string_view bytes);
    void patchLength(uint64_t headerPosition, size_t length);
    std::string finishedBytes();

    std::string_view bytes() const { return mode_ == Mode::Write ? data_ : input_; }

    Mode mode_ = Mode::Closed;
    std::string data_;       // a plain file read, or the stream being written
    std::string_view input_; // what is read: data_, or the workbook stream in compound_
    std::unique_ptr<platform::CompoundFile> compound_;
    uint64_t position_ = 0;

    ExcelVersion writeVersion_ = ExcelVersion::None;
    std::string fileName_;
    std::string* target_ = nullptr;
    bool writeKept_ = false;

    int splitMax_ = 0;
    size_t recordCount_ = 0;
    int64_t headerPosition_ = -1;

    KeptStorages* kept_ = nullptr;
    KeptStreams* keptStreams_ = nullptr;
    bool copyStorages_ = true;
    bool unicodeStrings_ = false;
    std::function<void(uint16_t, std::string_view)> recordHook_;
    bool inHook_ = false;
};

} // namespace xls
