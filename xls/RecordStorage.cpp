#include "xls/RecordStorage.h"

#include "xls/RecordId.h"
#include "xls/XlsError.h"
#include "xls/XlsStream.h"

namespace xls {

void RecordStorage::add(uint16_t id, std::string_view body) {
    records_.push_back({id, std::string(body)});
}

void RecordStorage::readUntilEof(XlsStream& stream, size_t maxBody) {
    RecordHeader header;
    while (stream.readHeader(header)) {
        if (header.id == record::Eof)
            return;
        if (header.length > maxBody)
            throw XlsError("Record longer than the largest record size");
        std::string_view body = stream.readView(header.length);
        if (body.size() < header.length)
            throw XlsError("record too short");
        add(header.id, body);
    }
    throw XlsError("Unexpected end of file");
}

void RecordStorage::writeAll(XlsStream& stream) const {
    for (const Record& record : records_) {
        if (record.body.size() > 0xFFFF)
            throw RangeError();
        stream.writeHeader(record.id, static_cast<uint16_t>(record.body.size()));
        if (!record.body.empty())
            stream.writeData(record.body);
    }
}

} // namespace xls
