#include "xls/MsoReader.h"

namespace xls {

namespace {

constexpr size_t HeaderSize = 8;
constexpr size_t BseSize = 36;

// The record types of the drawing records, 0xF000 to 0xF11F and the blips between.
bool knownType(uint16_t type) {
    if (type >= MsoReader::FirstBlip && type <= MsoReader::LastBlip)
        return true;
    if (type >= 0xF000 && type <= 0xF018)
        return true;
    return type >= 0xF118 && type <= 0xF120;
}

} // namespace

bool MsoReader::read(std::string_view data) {
    RecordCursor in(data);
    while (in.remaining() > 0) {
        if (in.remaining() < HeaderSize)
            return false;
        uint16_t first = in.u16(in.position());
        MsoHeader header;
        header.version = first & 0x0F;
        header.instance = static_cast<uint16_t>(first >> 4);
        header.type = in.u16(in.position() + 2);
        header.length = in.u32(in.position() + 4);
        if ((header.type & 0xFE00) != 0xF000 || !knownType(header.type))
            return false;
        in.skip(HeaderSize);
        if (header.type >= DggContainer && header.type <= SpContainer)
            continue; // the children follow
        // A BSE's blip follows within its length and is met as the next record.
        size_t body = header.type == Bse ? BseSize : header.length;
        if (body > in.remaining())
            return false;
        onRecord(header, RecordCursor(in.take(body)));
    }
    return true;
}

} // namespace xls
