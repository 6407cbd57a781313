#pragma once

#include "platform/storage/StorageTree.h"

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Builds a compound file in memory: root streams and copied storages, in the order added.
// The bytes come out of finish(); the caller decides where they go. Every failure raises
// StorageError.
class CompoundWriter {
public:
    CompoundWriter();
    CompoundWriter(const CompoundWriter&) = delete;
    CompoundWriter& operator=(const CompoundWriter&) = delete;
    ~CompoundWriter();

    void addStream(std::string_view name, std::string_view bytes);
    void addStorage(const StorageTree& storage);
    // Closes the compound file and returns its bytes; nothing may be added afterwards.
    std::string finish();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
