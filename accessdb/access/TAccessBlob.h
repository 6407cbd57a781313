#pragma once

#include "accessdb/access/TDAOField.h"
#include "accessdb/engine/PackedBytes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace accessdb {

class TAccessTable;
class TFieldCacheItem;

// An open memo or long-binary value of one record. It reads the value through DAO and keeps
// what is written until the record is posted. While it is open the recordset stands on the
// blob's record; it goes back to where it was when the blob is freed.
class TAccessBlob {
public:
    // `openMode` 1 opens read-only.
    TAccessBlob(TAccessTable& cursor, int openMode, std::uint16_t fieldNumber, Byte* record);
    virtual ~TAccessBlob();
    TAccessBlob(const TAccessBlob&) = delete;
    TAccessBlob& operator=(const TAccessBlob&) = delete;

    virtual std::uint32_t size();
    // Copies up to `count` bytes from `offset`; reaching the end raises the end-of-blob
    // error after the copy, with `read` set.
    void read(std::uint32_t offset, std::uint32_t count, Byte* dest, std::uint32_t& read);
    void write(std::uint32_t offset, std::uint32_t count, const Byte* source);
    // What was written, for the post.
    virtual const std::string& contents() const = 0;

protected:
    virtual void copyOut(std::uint32_t offset, std::uint32_t count, Byte* dest) = 0;
    virtual void store(std::uint32_t offset, std::uint32_t count, const Byte* source) = 0;
    TDAOField& field() { return *field_; }
    bool blank() const { return blank_; }

private:
    TAccessTable& cursor_;
    std::uint16_t fieldNumber_;
    Byte* record_;
    bool readOnly_;
    bool blank_;
    std::unique_ptr<TDAOField> field_;
    std::vector<std::uint8_t> returnTo_;
};

} // namespace accessdb
