#include "mdbengine/pages/JetFormat.h"

namespace mdbengine::file {

static JetFormat makeJet3() {
    JetFormat f;
    f.jet4 = false;
    f.pageSize = 2048;
    f.dataRowCountOffset = 8;
    f.tdefRowCountOffset = 12;
    f.tdefAutonumberOffset = 16;
    f.tdefTableTypeOffset = 20;
    f.tdefMaxColumnsOffset = 21;
    f.tdefVarColumnsOffset = 23;
    f.tdefColumnCountOffset = 25;
    f.tdefIndexCountOffset = 27;
    f.tdefRealIndexCountOffset = 31;
    f.tdefUsedPagesOffset = 35;
    f.tdefFreePagesOffset = 39;
    f.tdefBlockEnd = 43;
    f.realIndexCountEntrySize = 8;
    f.columnEntrySize = 18;
    f.realIndexEntrySize = 39;
    f.logicalIndexEntrySize = 20;
    f.columnNumberOffset = 1;
    f.columnVarIndexOffset = 3;
    f.columnOrdinalOffset = 5;
    f.columnMiscOffset = 9;
    f.columnFlagsOffset = 13;
    f.columnFixedOffsetOffset = 14;
    f.columnLengthOffset = 16;
    f.indexPrevOffset = 8;
    f.indexNextOffset = 12;
    f.indexTailOffset = 16;
    f.indexPrefixOffset = 20;
    f.indexIntermediateOffset = 21;
    f.indexMaskOffset = 0x16;
    f.indexEntriesOffset = 0xF8;
    f.rowFieldSize = 1;
    return f;
}

static JetFormat makeJet4() {
    JetFormat f;
    f.jet4 = true;
    f.pageSize = 4096;
    f.dataRowCountOffset = 12;
    f.tdefRowCountOffset = 16;
    f.tdefAutonumberOffset = 20;
    f.tdefTableTypeOffset = 40;
    f.tdefMaxColumnsOffset = 41;
    f.tdefVarColumnsOffset = 43;
    f.tdefColumnCountOffset = 45;
    f.tdefIndexCountOffset = 47;
    f.tdefRealIndexCountOffset = 51;
    f.tdefUsedPagesOffset = 55;
    f.tdefFreePagesOffset = 59;
    f.tdefBlockEnd = 63;
    f.realIndexCountEntrySize = 12;
    f.columnEntrySize = 25;
    f.realIndexEntrySize = 52;
    f.logicalIndexEntrySize = 28;
    f.columnNumberOffset = 5;
    f.columnVarIndexOffset = 7;
    f.columnOrdinalOffset = 9;
    f.columnMiscOffset = 11;
    f.columnFlagsOffset = 15;
    f.columnFixedOffsetOffset = 21;
    f.columnLengthOffset = 23;
    f.indexPrevOffset = 12;
    f.indexNextOffset = 16;
    f.indexTailOffset = 20;
    f.indexPrefixOffset = 24;
    f.indexIntermediateOffset = 26;
    f.indexMaskOffset = 0x1B;
    f.indexEntriesOffset = 0x1E0;
    f.rowFieldSize = 2;
    return f;
}

const JetFormat& JetFormat::version3() {
    static const JetFormat format = makeJet3();
    return format;
}

const JetFormat& JetFormat::version4() {
    static const JetFormat format = makeJet4();
    return format;
}

} // namespace mdbengine::file
