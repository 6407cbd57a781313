#include "xls/XlsStream.h"

#include "platform/fs/AtomicFile.h"
#include "platform/storage/CompoundFile.h"
#include "platform/storage/CompoundWriter.h"
#include "xls/RecordId.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>

namespace xls {

namespace {

bool isNamed(std::string_view name, std::string_view wanted) {
    return name.size() == wanted.size() &&
           std::equal(name.begin(), name.end(), wanted.begin(), [](char a, char b) {
               auto lower = [](char c) {
                   return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
               };
               return lower(a) == lower(b);
           });
}

std::string littleEndianWord(uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

} // namespace

XlsStream::XlsStream() = default;

XlsStream::~XlsStream() {
    abandon();
}

ExcelVersion XlsStream::openRead(const std::string& fileName) {
    abandon();
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error))
        throw XlsError("\"" + fileName + "\" is a folder, not a workbook");
    std::optional<std::string> bytes = platform::readFileBytes(fileName);
    if (!bytes)
        throw XlsError("Cannot open file \"" + fileName + "\"");
    return openReadBytes(std::move(*bytes));
}

ExcelVersion XlsStream::openReadBytes(std::string fileBytes) {
    abandon();
    ExcelVersion version = platform::CompoundFile::hasSignature(fileBytes)
                               ? openCompound(std::move(fileBytes))
                               : plainVersion(fileBytes);
    if (mode_ == Mode::Closed) {
        data_ = std::move(fileBytes);
        input_ = data_;
        mode_ = Mode::Read;
    }
    position_ = 0;
    return version;
}

ExcelVersion XlsStream::openCompound(std::string fileBytes) {
    compound_ = std::make_unique<platform::CompoundFile>(
        platform::CompoundFile::open(std::move(fileBytes)));
    platform::CompoundFile& file = *compound_;
    const platform::CompoundFile::Entry* book = nullptr;
    const platform::CompoundFile::Entry* workbook = nullptr;
    for (const platform::CompoundFile::Entry& entry : file.entries()) {
        if (!entry.isStorage && isNamed(entry.name, "Book"))
            book = &entry;
        else if (!entry.isStorage && isNamed(entry.name, "Workbook"))
            workbook = &entry;
        else if (entry.isStorage && copyStorages_ && kept_)
            kept_->push_back(file.captureStorage(entry.name));
        else if (!entry.isStorage && copyStorages_ && keptStreams_)
            keptStreams_->push_back({entry.name, file.readStream(entry.name)});
    }
    const platform::CompoundFile::Entry* chosen = workbook ? workbook : book;
    if (!chosen)
        throw XlsError("File is not a Excel Workbook");
    if (chosen->size > std::numeric_limits<uint32_t>::max())
        throw RangeError();
    // The workbook stream is read where the compound file holds it, not copied.
    input_ = file.streamView(chosen->name);
    mode_ = Mode::Read;
    return workbook ? ExcelVersion::Excel97 : ExcelVersion::Excel50;
}

ExcelVersion XlsStream::plainVersion(std::string_view fileBytes) {
    if (fileBytes.size() < 4)
        return ExcelVersion::None;
    uint16_t id = static_cast<uint16_t>(static_cast<uint8_t>(fileBytes[0]) |
                                        (static_cast<uint8_t>(fileBytes[1]) << 8));
    if ((id & 0xFF) != 0x09)
        return ExcelVersion::None;
    switch (id >> 8) {
    case 0x00:
        return ExcelVersion::Excel21;
    case 0x02:
        return ExcelVersion::Excel30;
    case 0x04:
        return ExcelVersion::Excel40;
    default:
        return ExcelVersion::None;
    }
}

void XlsStream::openWrite(const std::string& fileName, ExcelVersion version) {
    abandon();
    fileName_ = fileName;
    startWrite(version);
}

void XlsStream::openWriteToMemory(std::string& target, ExcelVersion version) {
    abandon();
    target_ = &target;
    startWrite(version);
}

void XlsStream::startWrite(ExcelVersion version) {
    mode_ = Mode::Write;
    writeVersion_ = version;
    data_.clear();
    position_ = 0;
}

void XlsStream::close() {
    if (mode_ != Mode::Write) {
        abandon();
        return;
    }
    std::string bytes = finishedBytes();
    if (target_) {
        // A workbook can be hundreds of megabytes: one copy of it is enough.
        if (target_->empty())
            *target_ = std::move(bytes);
        else
            target_->append(bytes);
    } else {
        platform::WriteResult result = platform::writeFileAtomically(fileName_, bytes);
        if (!result.ok)
            throw XlsError("Cannot create file \"" + fileName_ + "\". " + result.error);
    }
    abandon();
}

std::string XlsStream::finishedBytes() {
    if (writeVersion_ < ExcelVersion::Excel50)
        return std::move(data_);
    platform::CompoundWriter writer;
    writer.addStream(writeVersion_ == ExcelVersion::Excel50 ? "Book" : "Workbook", data_);
    // The compound file holds its own copy: the stream is let go before the file's bytes
    // are copied out of it, so that no more than two copies of a large workbook are held.
    data_.clear();
    data_.shrink_to_fit();
    if (writeKept_ && keptStreams_)
        for (const platform::StorageTree::Stream& stream : *keptStreams_)
            writer.addStream(stream.name, stream.bytes);
    if (writeKept_ && kept_)
        for (const platform::StorageTree& storage : *kept_)
            writer.addStorage(storage);
    return writer.finish();
}

void XlsStream::abandon() {
    mode_ = Mode::Closed;
    data_.clear();
    data_.shrink_to_fit();
    input_ = {};
    compound_.reset();
    position_ = 0;
    fileName_.clear();
    target_ = nullptr;
    writeKept_ = false;
    splitMax_ = 0;
    recordCount_ = 0;
    headerPosition_ = -1;
}

size_t XlsStream::read(void* buffer, size_t count) {
    std::string_view view = readView(count);
    if (!view.empty())
        std::memcpy(buffer, view.data(), view.size());
    return view.size();
}

std::string_view XlsStream::readView(size_t count) {
    if (position_ >= input_.size())
        return {};
    size_t available = input_.size() - static_cast<size_t>(position_);
    std::string_view view(input_.data() + position_, std::min(count, available));
    position_ += view.size();
    return view;
}

bool XlsStream::readHeader(RecordHeader& header) {
    if (position_ > input_.size() || input_.size() - position_ < 4)
        return false;
    const auto* at = reinterpret_cast<const uint8_t*>(input_.data() + position_);
    header.id = static_cast<uint16_t>(at[0] | (at[1] << 8));
    header.length = static_cast<uint16_t>(at[2] | (at[3] << 8));
    position_ += 4;
    return true;
}

void XlsStream::seek(int64_t offset, SeekOrigin origin) {
    int64_t base = origin == SeekOrigin::Begin     ? 0
                   : origin == SeekOrigin::Current ? static_cast<int64_t>(position_)
                                                   : static_cast<int64_t>(size());
    int64_t target = base + offset;
    if (target < 0 || target > static_cast<int64_t>(size()))
        throw RangeError();
    position_ = static_cast<uint64_t>(target);
}

void XlsStream::put(std::string_view bytes) {
    if (mode_ != Mode::Write)
        throw XlsError("The stream is not open for writing");
    size_t at = static_cast<size_t>(position_);
    size_t overlap = std::min(bytes.size(), data_.size() - at);
    data_.replace(at, overlap, bytes.data(), overlap);
    data_.append(bytes.substr(overlap));
    position_ += bytes.size();
}

void XlsStream::writeHeader(uint16_t id, uint16_t length) {
    put(littleEndianWord(id) + littleEndianWord(length));
}

void XlsStream::announceRecord(uint16_t id, std::string_view body) {
    if (!recordHook_ || inHook_)
        return;
    inHook_ = true;
    try {
        recordHook_(id, body);
    } catch (...) {
        inHook_ = false;
        throw;
    }
    inHook_ = false;
}

void XlsStream::writeRecord(uint16_t id, std::string_view body) {
    if (body.size() > 0xFFFF)
        throw RangeError();
    announceRecord(id, body);
    writeHeader(id, static_cast<uint16_t>(body.size()));
    writeData(body);
}

void XlsStream::writeWordRecord(uint16_t id, uint16_t value) {
    writeRecord(id, littleEndianWord(value));
}

void XlsStream::writeRaw(std::string_view bytes) {
    put(bytes);
}

void XlsStream::writeWord(uint16_t value) {
    writeData(littleEndianWord(value));
}

void XlsStream::writeData(std::string_view bytes) {
    while (splitMax_ > 0 && bytes.size() > static_cast<size_t>(splitMax_) - recordCount_) {
        size_t room = static_cast<size_t>(splitMax_) - recordCount_;
        patchLength(static_cast<uint64_t>(headerPosition_), static_cast<size_t>(splitMax_));
        put(bytes.substr(0, room));
        bytes.remove_prefix(room);
        headerPosition_ = static_cast<int64_t>(position_);
        writeHeader(record::Continue, 0);
        recordCount_ = 0;
    }
    put(bytes);
    recordCount_ += bytes.size();
}

void XlsStream::patchLength(uint64_t headerPosition, size_t length) {
    if (length > 0xFFFF)
        throw RangeError();
    if (headerPosition + 4 > data_.size())
        throw XlsError("The record header to complete is missing");
    data_[headerPosition + 2] = static_cast<char>(length & 0xFF);
    data_[headerPosition + 3] = static_cast<char>(length >> 8);
}

void XlsStream::beginSplit(int max) {
    splitMax_ = max;
    recordCount_ = 0;
    headerPosition_ = static_cast<int64_t>(position_);
}

void XlsStream::endSplit() {
    if (recordCount_ > 0 && headerPosition_ >= 0)
        patchLength(static_cast<uint64_t>(headerPosition_), recordCount_);
    splitMax_ = 0;
}

void XlsStream::writeXlsString(std::string_view text) {
    if (text.empty())
        return;
    std::string flagged = toXlsString(text, unicodeStrings_);
    size_t count = xlsStringCount(flagged);
    if (count > 0xFFFF)
        throw RangeError();
    writeRaw(littleEndianWord(static_cast<uint16_t>(count)));
    writeRaw(flagged);
}

void XlsStream::writeFlaggedString(std::string_view flagged) {
    if (flagged.empty()) {
        writeRaw(littleEndianWord(0));
        return;
    }
    size_t count = xlsStringCount(flagged);
    if (count > 0xFFFF)
        throw RangeError();
    writeRaw(littleEndianWord(static_cast<uint16_t>(count)));
    writeData(flagged);
}

void XlsStream::writeExtraObjects() {
    writeKept_ = true;
}

} // namespace xls
