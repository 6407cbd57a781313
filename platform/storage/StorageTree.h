#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An in-memory copy of a storage of a compound file and everything below it, kept so that
// it can be written into another compound file unchanged (a workbook's macro storages).
struct StorageTree {
    struct Stream {
        std::string name;
        std::string bytes;
    };

    std::string name;
    std::array<uint8_t, 16> classId{};
    std::vector<Stream> streams;
    std::vector<StorageTree> storages;
};

} // namespace platform
