#include "listio/DbfHeader.h"

#include "listio/ListFileError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

namespace quillan {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int le16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

bool knownVersion(uint8_t v) {
    switch (v) {
    case 0x02: // FoxBASE
    case 0x03: // dBase III, FoxPro
    case 0x43: // dBase IV SQL table
    case 0x63: // dBase IV SQL system table
    case 0x83: // dBase III with memo
    case 0x8B: // dBase IV with memo
    case 0x8E: // dBase IV with SQL table
    case 0xCB: // dBase IV SQL table with memo
    case 0xF5: // FoxPro with memo
    case 0xFB: // FoxBASE
        return true;
    default:
        return false;
    }
}

DbfHeaderCheck refuse(std::string problem) {
    DbfHeaderCheck check;
    check.problem = std::move(problem);
    return check;
}

std::string fieldName(const unsigned char* descriptor) {
    std::string name;
    for (int i = 0; i < 10 && descriptor[i] != 0; ++i)
        name += static_cast<char>(descriptor[i]);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

long fileSize(std::FILE* f, const std::string& path) {
    if (std::fseek(f, 0, SEEK_END) != 0)
        throw ListFileError::cannotRead(path, errno);
    long size = std::ftell(f);
    if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0)
        throw ListFileError::cannotRead(path, errno);
    return size;
}

} // namespace

DbfHeaderCheck readDbfHeader(const std::string& path) {
    File file(openListFile(path));
    long size = fileSize(file.get(), path);
    unsigned char head[32];
    if (size < 32 || std::fread(head, 1, 32, file.get()) != 32)
        return refuse("The file is too short to be a dBase table.");
    DbfHeader h;
    h.version = head[0];
    if (!knownVersion(h.version))
        return refuse("It is not a dBase III, dBase IV or FoxPro table.");
    h.statedRecords = le32(head + 4);
    h.headerLength = le16(head + 8);
    h.recordLength = le16(head + 10);
    if (h.recordLength > DbfHeader::MaxRecordLength) {
        DbfHeaderCheck check = refuse("Sorry, but the records in this file have too many "
                                      "characters for Quillan to handle.");
        check.recordsTooLong = true;
        return check;
    }
    int fieldCount = (h.headerLength - 1) / 32 - 1;
    if (fieldCount < 1)
        return refuse("Its header names no fields.");
    if (fieldCount > DbfHeader::MaxFields)
        return refuse("It has more than 100 fields, more than Quillan can handle.");
    long descriptorsEnd = 32 + 32L * fieldCount;
    if (h.headerLength > size || descriptorsEnd + 1 > size)
        return refuse("Its header is damaged: the file ends inside it.");
    std::vector<unsigned char> descriptors(static_cast<size_t>(32 * fieldCount + 1));
    if (std::fread(descriptors.data(), 1, descriptors.size(), file.get()) != descriptors.size())
        throw ListFileError::cannotRead(path, errno ? errno : EIO);
    if (descriptors.back() != 0x0D)
        return refuse("Its header is damaged: the list of fields does not end where the "
                      "header length says.");
    long widths = 0;
    for (int k = 0; k < fieldCount; ++k) {
        const unsigned char* d = descriptors.data() + 32 * k;
        DbfField field{fieldName(d), static_cast<char>(d[11]), d[16]};
        widths += field.width;
        h.fields.push_back(std::move(field));
    }
    if (widths + 1 != h.recordLength)
        return refuse("Its header is damaged: the field widths do not add up to the record "
                      "length.");
    long present = (size - h.headerLength) / h.recordLength;
    h.records = std::min<long>(present, static_cast<long>(h.statedRecords));
    h.fileSize = size;
    DbfHeaderCheck check;
    check.header = std::move(h);
    return check;
}

} // namespace quillan
