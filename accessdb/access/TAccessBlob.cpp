#include "accessdb/access/TAccessBlob.h"

#include "accessdb/access/EAccessEngineError.h"
#include "accessdb/access/TAccessTable.h"

#include <cstring>

namespace accessdb {

TAccessBlob::TAccessBlob(TAccessTable& cursor, int openMode, std::uint16_t fieldNumber,
                         Byte* record)
    : cursor_(cursor), fieldNumber_(fieldNumber), record_(record), readOnly_(openMode == 1) {
    TFieldCacheItem& item = cursor.fieldCache().items(fieldNumber);
    item.setRecordBuffer(record);
    blank_ = item.isNull();
    TDAORecordset& recordset = *cursor.recordset();
    if (!cursor.editing() && !recordset.eof() && !recordset.bof()) {
        returnTo_ = cursor.daoBookmark();
        std::vector<std::uint8_t> own(item.fieldData() + 8, item.fieldData() + 12);
        bool named = own != std::vector<std::uint8_t>(4, 0);
        if (named && own != returnTo_)
            recordset.setBookmark(own);
    }
    field_ = cursor.fields()->item(static_cast<std::int16_t>(fieldNumber - 1));
}

TAccessBlob::~TAccessBlob() {
    field_.reset();
    if (!returnTo_.empty() && cursor_.recordset())
        cursor_.recordset()->setBookmark(returnTo_);
}

std::uint32_t TAccessBlob::size() {
    if (blank_)
        return 0;
    std::int32_t length = field_->fieldSize();
    return length < 0 ? 0 : static_cast<std::uint32_t>(length);
}

void TAccessBlob::read(std::uint32_t offset, std::uint32_t count, Byte* dest, std::uint32_t& read) {
    read = 0;
    std::uint32_t total = size();
    if (offset > total)
        raiseEngineError(dbierr::INVALIDBLOBOFFSET);
    std::uint32_t available = std::min(count, total - offset);
    if (available > 0)
        copyOut(offset, available, checkParam(dest));
    read = available;
    if (offset + available >= total)
        raiseEngineError(dbierr::ENDOFBLOB);
}

void TAccessBlob::write(std::uint32_t offset, std::uint32_t count, const Byte* source) {
    if (readOnly_)
        raiseEngineError(dbierr::READONLYFLD);
    if (count > 0)
        checkParam(source);
    TFieldCacheItem& item = cursor_.fieldCache().items(fieldNumber_);
    item.setRecordBuffer(record_);
    item.setChanged(true);
    item.setNull(false);
    blank_ = false;
    store(offset, count, source);
}

} // namespace accessdb
