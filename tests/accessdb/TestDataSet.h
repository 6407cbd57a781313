#pragma once

// A dataset over a cursor made beforehand, so that tests and benchmarks can put the
// dataset over an in-memory table they filled themselves; and field descriptors for such
// tables in one call.

#include "accessdb/components/TttDBEDataset.h"
#include "accessdb/engine/FieldDesc.h"

#include <utility>

namespace accessdb::testing {

class CursorDataSet : public TttDBEDataset {
public:
    CursorDataSet(TVirtEng& engine, TBaseTable* cursor)
        : TttDBEDataset(nullptr), engine_(engine), cursor_(cursor) {}
    TVirtEng* engine() const override { return &engine_; }

protected:
    TBaseTable* createHandle() override { return std::exchange(cursor_, nullptr); }

private:
    TVirtEng& engine_;
    TBaseTable* cursor_;
};

inline FieldDesc fieldDesc(const char* name, std::uint16_t type, std::int16_t units = 0,
                           std::uint16_t length = 0) {
    FieldDesc d;
    d.setName(name);
    d.type = type;
    d.units1 = units;
    d.length = length;
    return d;
}

} // namespace accessdb::testing
