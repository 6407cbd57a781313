#pragma once

#include "platform/storage/StorageTree.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A compound file (OLE structured storage) held in memory and read through the storage
// library. Only the root's elements are addressed by name; names compare without regard
// to ASCII letter case, as the format itself does. Every failure raises StorageError.
class CompoundFile {
public:
    struct Entry {
        std::string name; // UTF-8
        bool isStorage = false;
        uint64_t size = 0; // bytes of a stream; 0 for a storage
    };

    // True when the bytes begin with the compound file signature.
    static bool hasSignature(std::string_view bytes);

    // Takes the whole file; raises StorageError when it is not a readable compound file.
    static CompoundFile open(std::string bytes);

    CompoundFile(CompoundFile&&) noexcept;
    CompoundFile& operator=(CompoundFile&&) noexcept;
    ~CompoundFile();

    const std::vector<Entry>& entries() const;
    // The root element of that name, or null.
    const Entry* find(std::string_view name) const;
    // The whole content of a root stream.
    std::string readStream(std::string_view name) const;
    // The same without a copy where the file holds the stream in one piece (a large stream
    // usually): the view lasts as long as this object.
    std::string_view streamView(std::string_view name);
    // A root storage and everything below it, copied into memory.
    StorageTree captureStorage(std::string_view name) const;

private:
    struct Impl;
    explicit CompoundFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
