#include "accessdb/engine/FieldDesc.h"

#include <cstring>

namespace accessdb {

void FieldDesc::pack(Byte* p) const {
    std::memset(p, 0, Size);
    putU16(p, 0, fieldNumber);
    putText(p, NameOffset, NameSize, name);
    putU16(p, TypeOffset, type);
    putU16(p, 36, subType);
    putI16(p, 38, units1);
    putI16(p, 40, units2);
    putU16(p, 42, offset);
    putU16(p, 44, length);
    putU16(p, 46, nullOffset);
    putU32(p, 48, vchkKind);
    putU32(p, 52, rights);
    putU16(p, 56, calculated);
    putU16(p, LocalTypeOffset, localType);
    putU16(p, LocalSizeOffset, localSize);
}

FieldDesc FieldDesc::unpack(const Byte* p) {
    FieldDesc d;
    d.fieldNumber = getU16(p, 0);
    d.name = getText(p, NameOffset, NameSize);
    d.type = getU16(p, TypeOffset);
    d.subType = getU16(p, 36);
    d.units1 = getI16(p, 38);
    d.units2 = getI16(p, 40);
    d.offset = getU16(p, 42);
    d.length = getU16(p, 44);
    d.nullOffset = getU16(p, 46);
    d.vchkKind = getU32(p, 48);
    d.rights = getU32(p, 52);
    d.calculated = getU16(p, 56);
    d.localType = getU16(p, LocalTypeOffset);
    d.localSize = getU16(p, LocalSizeOffset);
    return d;
}

void RecordProps::pack(Byte* p) const {
    putU32(p, 0, seqNumber);
    putU32(p, 4, physicalRecord);
    putU16(p, 8, recordStatus);
    putU16(p, 10, seqNumberChanged);
    putI16(p, 12, deleteFlag);
}

RecordProps RecordProps::unpack(const Byte* p) {
    RecordProps r;
    r.seqNumber = getU32(p, 0);
    r.physicalRecord = getU32(p, 4);
    r.recordStatus = getU16(p, 8);
    r.seqNumberChanged = getU16(p, 10);
    r.deleteFlag = getI16(p, 12);
    return r;
}

} // namespace accessdb
