#pragma once

#include "accessdb/engine/PackedBytes.h"

#include <cstdint>

namespace accessdb {

class TField;
class TttDBEDataset;
class TVirtEng;

enum class BlobStreamMode { Read, Write, ReadWrite };

// A stream over a blob field of a dataset's current record. Reading and writing go to the
// engine's blob at the stream's position; a write mode empties the blob when the stream is
// made. What was written reaches the table when the record is posted.
class TttBlobStream {
public:
    TttBlobStream(TField& field, BlobStreamMode mode);
    virtual ~TttBlobStream();
    TttBlobStream(const TttBlobStream&) = delete;
    TttBlobStream& operator=(const TttBlobStream&) = delete;

    bool opened() const { return opened_; }
    std::uint32_t position() const { return position_; }
    std::uint32_t read(void* buffer, std::uint32_t count);
    std::uint32_t write(const void* buffer, std::uint32_t count);
    // Origin 0 from the start, 1 from the position, 2 from the end; the new position.
    std::uint32_t seek(std::int64_t offset, int origin);
    // Ends the blob at the position.
    void truncate();
    std::uint32_t size();

protected:
    virtual TVirtEng* engine() const;

private:
    void open(BlobStreamMode mode);
    bool translated() const;

    TField& field_;
    TttDBEDataset* dataSet_ = nullptr;
    Byte* record_ = nullptr;
    std::uint16_t fieldNumber_ = 0;
    std::uint32_t position_ = 0;
    bool opened_ = false;
    bool modified_ = false;
};

} // namespace accessdb
