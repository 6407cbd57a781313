#include "accessdb/engine/CursorProps.h"

#include <cstring>

namespace accessdb {

void CursorProps::pack(Byte* p) const {
    std::memset(p, 0, Size);
    putText(p, 0, 261, tableName);
    putU16(p, 261, nameSize);
    putText(p, 263, 32, tableType);
    putU16(p, 295, fieldCount);
    putU16(p, 297, recordSize);
    putU16(p, 299, recordBufferSize);
    putU16(p, 301, keySize);
    putU16(p, 303, indexCount);
    putU16(p, 305, vchkCount);
    putU16(p, 307, refIntCount);
    putU16(p, 309, bookmarkSize);
    putI16(p, 311, bookmarkStable);
    putU32(p, 313, openMode);
    putU32(p, 317, shareMode);
    putI16(p, 321, indexed);
    putI16(p, 323, seqNumbers);
    putI16(p, 337, active);
    putU32(p, 339, rights);
    putU16(p, 391, filterCount);
    putI16(p, 393, tempTable);
}

CursorProps CursorProps::unpack(const Byte* p) {
    CursorProps c;
    c.tableName = getText(p, 0, 261);
    c.nameSize = getU16(p, 261);
    c.tableType = getText(p, 263, 32);
    c.fieldCount = getU16(p, 295);
    c.recordSize = getU16(p, 297);
    c.recordBufferSize = getU16(p, 299);
    c.keySize = getU16(p, 301);
    c.indexCount = getU16(p, 303);
    c.vchkCount = getU16(p, 305);
    c.refIntCount = getU16(p, 307);
    c.bookmarkSize = getU16(p, 309);
    c.bookmarkStable = getI16(p, 311);
    c.openMode = getU32(p, 313);
    c.shareMode = getU32(p, 317);
    c.indexed = getI16(p, 321);
    c.seqNumbers = getI16(p, 323);
    c.active = getI16(p, 337);
    c.rights = getU32(p, 339);
    c.filterCount = getU16(p, 391);
    c.tempTable = getI16(p, 393);
    return c;
}

} // namespace accessdb
