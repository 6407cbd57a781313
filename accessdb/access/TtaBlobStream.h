#pragma once

#include "accessdb/components/TttBlobStream.h"

namespace accessdb {

// A blob stream of the Access components.
class TtaBlobStream : public TttBlobStream {
public:
    using TttBlobStream::TttBlobStream;

protected:
    TVirtEng* engine() const override;
};

} // namespace accessdb
