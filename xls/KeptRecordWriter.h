#pragma once

#include "xls/KeptRecords.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace xls {

class XlsStream;

// Puts a substream's kept records back among the records the writer makes. A run among the
// cells goes in as soon as the cell before it has been written (or any cell after its key);
// any other run goes in before the made record that followed it, or after the one before it
// when none did; what is left goes in before the substream's EOF. Runs keep their order.
// Records that go with the one before them (STRING, ARRAY, CONTINUE, DV) are never
// separated from it.
class KeptRecordWriter {
public:
    // A substream begins: its kept records (none: nothing to put back), whether their
    // drawing records go back too, and whether only those that mean the same in the other
    // version go back (a write into another version).
    void begin(const KeptRecords* kept, bool drawings, bool sameInBothVersionsOnly = false);
    // While paused (the writer's own embedded chart substreams) nothing goes in.
    void pause(bool paused) { paused_ = paused; }
    // The writer is about to write this record.
    void beforeRecord(XlsStream& stream, uint16_t id, std::string_view body);
    // The substream ends.
    void finish(XlsStream& stream);

private:
    using Mark = KeptRecords::Mark;

    Mark markOf(uint16_t id, std::string_view body);
    bool passed(const Mark& mark) const;
    bool due(const KeptRecords::Run& run, const Mark& current) const;
    static bool reaches(const Mark& current, const Mark& before);
    void writeRuns(XlsStream& stream, size_t end);

    const KeptRecords* kept_ = nullptr;
    bool drawings_ = false;
    bool sameInBothVersionsOnly_ = false;
    bool paused_ = false;
    size_t next_ = 0;
    std::vector<std::pair<uint16_t, uint32_t>> written_;
    int64_t lastCell_ = -1;
    int64_t lastRow_ = -1;
};

} // namespace xls
