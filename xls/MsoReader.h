#pragma once

#include "xls/RecordCursor.h"

#include <cstdint>
#include <string_view>

namespace xls {

// The header of an Office Drawing record: version (4 bits) and instance (12 bits), type,
// body length.
struct MsoHeader {
    uint16_t version = 0;
    uint16_t instance = 0;
    uint16_t type = 0;
    uint32_t length = 0;
};

// Walks a buffer of Office Drawing records as one flat list: containers are entered, so
// their children come next; every other record is handed to onRecord with its body and
// stepped over. The lengths in the buffer are not trusted: a body that runs past the
// buffer, or a record of an unknown type, ends the walk.
class MsoReader {
public:
    virtual ~MsoReader() = default;

    // True when the whole buffer was walked.
    bool read(std::string_view data);

    static constexpr uint16_t DggContainer = 0xF000;
    static constexpr uint16_t BStoreContainer = 0xF001;
    static constexpr uint16_t DgContainer = 0xF002;
    static constexpr uint16_t SpgrContainer = 0xF003;
    static constexpr uint16_t SpContainer = 0xF004;
    static constexpr uint16_t Bse = 0xF007;
    static constexpr uint16_t Sp = 0xF00A;
    static constexpr uint16_t Opt = 0xF00B;
    static constexpr uint16_t ClientAnchor = 0xF010;
    static constexpr uint16_t FirstBlip = 0xF018;
    static constexpr uint16_t LastBlip = 0xF117;

protected:
    virtual void onRecord(const MsoHeader& header, RecordCursor body) = 0;
};

} // namespace xls
