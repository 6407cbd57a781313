#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

class XlsStream;

// Records the library does not interpret (chart substreams), kept to be written back
// unchanged.
class RecordStorage {
public:
    struct Record {
        uint16_t id = 0;
        std::string body;
    };

    void add(uint16_t id, std::string_view body);
    const Record& item(size_t index) const { return records_.at(index); }
    Record& item(size_t index) { return records_.at(index); }
    size_t count() const { return records_.size(); }
    void clear() { records_.clear(); }

    // Keeps every record up to the next EOF (which is read but not kept), or up to the end of
    // the stream. A body longer than maxBody, or cut off by the end of the stream, raises.
    void readUntilEof(XlsStream& stream, size_t maxBody);
    // Writes every kept record, header and body; no EOF is added.
    void writeAll(XlsStream& stream) const;

private:
    std::vector<Record> records_;
};

} // namespace xls
