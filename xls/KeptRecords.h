#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// The records of one substream (the workbook globals, or a sheet) that the writer does not
// make from the workbook's model, kept as read so that a write in the same version carries
// them through unchanged, each in its place. Kept records come in runs of records that
// stood together; a run remembers the records the writer does make on either side of it, by
// which the writer finds its place again. The substream's count of records of each kind is
// kept too: a setting goes back only where the file had one.
class KeptRecords {
public:
    // A record the writer makes, as a kept run's neighbour: the n-th record of an id in the
    // substream, a cell by its key, or a ROW by its row. None is the substream's start (as
    // the record before a run) or its end (as the record after it).
    struct Mark {
        enum class Kind : uint8_t { None, Record, Cell, Row };
        Kind kind = Kind::None;
        uint16_t id = 0;
        uint32_t value = 0;
    };
    // Whole records as read, headers included. Drawing records are carried only while the
    // drawings are unchanged.
    struct Piece {
        std::string records;
        bool drawing = false;
    };
    struct Run {
        Mark after;
        Mark before;
        std::vector<Piece> pieces;
    };

    // Reading. A made record counts and closes the open run; a kept one joins the open run
    // when it follows the run's last record directly, else starts a run after the mark.
    // Returns the made record's mark.
    // A record the model did not take as the substream's own (a custom view's settings) does
    // not count as held.
    Mark countMade(uint16_t id);
    void keep(std::string_view records, uint16_t id, bool drawing, bool joinsRun, Mark after,
              bool counts = true);

    // How many records of the id the substream held, made or kept.
    uint32_t held(uint16_t id) const;

    // The bodies of the records the writer makes, as read, by id in order: a body the writer
    // makes that is the start of the one read goes back with the bytes behind it, which the
    // model does not hold. Rows and the shared strings are not kept here.
    void keepMadeBody(uint16_t id, std::string_view body);
    // The body read for the occurrence (from 0) of the id when the made one begins it, else
    // the made one.
    std::string_view madeOrAsRead(uint16_t id, uint32_t occurrence, std::string_view made) const;
    // The substream's BOF body as read; a write in the same version gives it back.
    std::string bof;
    const std::vector<Run>& runs() const { return runs_; }
    bool empty() const { return runs_.empty() && held_.empty(); }
    // Whether the substream was read from a file (a sheet added afterwards has no records).
    bool read = false;

    void clear();

private:
    static uint32_t& countOf(std::vector<std::pair<uint16_t, uint32_t>>& counts, uint16_t id);

    std::vector<Run> runs_;
    std::vector<std::pair<uint16_t, uint32_t>> held_;
    std::vector<std::pair<uint16_t, uint32_t>> made_;
    std::vector<std::pair<uint16_t, std::vector<std::string>>> madeBodies_;
    bool runOpen_ = false;
};

} // namespace xls
