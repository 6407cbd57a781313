#pragma once

#include "core/Notices.h"
#include "core/ProgressSink.h"
#include "listio/FieldChecks.h"
#include "listio/PresortOrder.h"
#include "listio/SortInformationJob.h"
#include "platform/fs/AtomicFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillan {

// What a branch of the sort information writer tells the user once its output is safely
// on disk: the message, and whether an automation mailing is then offered the barcoding
// program with this question, for the list file it then works on.
struct ClosingMessage {
    std::string text;
    std::string barcodeQuestion;
    std::string path; // the file written
    std::string barcodeList = path;
    // The fields of each record that took the sort, where nothing in the list names them
    // ("fields 9 to 11"); empty otherwise.
    std::string fieldsWritten{};
};

// The countdown of the saving picture, shared by the whole call: before each unit of work
// the picture steps down once for every fifth of the work reached.
class WriterProgress {
public:
    explicit WriterProgress(ProgressSink& sink) : sink_(sink) {}
    // Shows the branch's caption under the picture and the first picture.
    void begin(const std::string& caption);
    // Before unit `done` of `total`.
    void before(int64_t done, int64_t total);
    // Asked by each writer at the last point before the list changes: a stop asked for
    // while the sort information was made (Exit, or a termination signal) is honoured here,
    // so that nothing is written and the list stays as it was. True when it was.
    bool stopBeforeWriting();
    bool stopped() const { return stopped_; }

private:
    ProgressSink& sink_;
    int step_ = 1;
    bool stopped_ = false;
};

// Lines for a file that replaces another only when all of it was written, each followed by
// the line end (CR LF unless told otherwise); the bytes go out in large blocks. A list
// written back gives the stamp it had when it was read (or checked), which it must keep
// until it is replaced.
class LineOutput {
public:
    explicit LineOutput(
        const std::string& path, std::string lineEnd = "\r\n",
        platform::AtomicFileWriter::Links links = platform::AtomicFileWriter::Links::Follow,
        std::optional<FileStamp> expected = std::nullopt)
        : file_(path, links, expected), lineEnd_(std::move(lineEnd)) {}
    bool ok() const { return file_.ok(); }
    const std::string& error() const { return file_.error(); }
    bool targetReadOnly() const { return file_.targetReadOnly(); }
    bool targetChanged() const { return file_.targetChanged(); }
    void raw(std::string_view bytes);
    void line(std::string_view text);
    platform::WriteResult commit();

private:
    void flush();

    platform::AtomicFileWriter file_;
    std::string lineEnd_;
    std::string buffer_;
};

// The values written for one piece: tray or sack and package numbers (from 1) padded to
// five digits, and the endorsement line of its ZIP group, made once per group.
class PieceValues {
public:
    explicit PieceValues(const SortedMailing& mailing) : mailing_(mailing) {}
    std::string tray(const PlacedPiece& p) const { return numbered(p.container); }
    std::string package(const PlacedPiece& p) const { return numbered(p.sortGroup); }
    const std::string& endorsement(int32_t zipGroup);

    // The number of the record at `index`, padded.
    static std::string numbered(int32_t index);
    static std::string padded(int64_t n);
    static const std::string& notPlaced(); // "00000"

private:
    const SortedMailing& mailing_;
    std::vector<std::optional<std::string>> endorsements_;
};

// What one record of a list receives when the sort information goes into its own fields:
// its sequence number (six digits), tray or sack and package numbers (five digits, "00000"
// for a record not placed) and endorsement line (a blank in a class without one, empty for
// a record not placed).
struct RecordSortValues {
    bool placed = false;
    std::string sort, tray, package, endorsement;
};

// The sort information of a list whose records stay in place: the placed pieces are
// numbered 1, 2, ... in presort order; the records not placed take the numbers after them,
// in the order they are asked for, which is the list's order.
class SortNumbers {
public:
    explicit SortNumbers(const SortedMailing& mailing);
    // The values of record r (its index, in reading order); each record is asked for once.
    RecordSortValues valuesOf(int32_t record);
    // The largest numbers it gives: a sequence number for every record, the trays and
    // packages of the placed pieces.
    OutputNumbers largest() const { return largest_; }

private:
    struct Assignment {
        int32_t sequence = 0; // 0: not placed
        PlacedPiece piece{};
    };

    PieceValues values_;
    std::vector<Assignment> assigned_;
    int32_t nextSequence_ = 0;
    bool endorsed_ = true;
    OutputNumbers largest_;
};

// Why a list held in memory, or walked again by position, is not written: the file changed
// since it was read.
inline constexpr const char* ListChangedReason =
    "The file is no longer the one Quillan read (it was changed or replaced since). It has "
    "been left as it is; please sort it again.";

// What tells a file changed or replaced: its size, time of change and identity.
FileStamp listStampOf(const std::string& path);
// The list file is still the file it was when read (its state's listStamp), with the size
// and time of change it had then.
bool listUnchangedSinceRead(const ReadList& list);

// The closing message of a list rewritten in presort order.
ClosingMessage sortedFileMessage(const std::string& path);

// An error box saying the sorting information was not saved, and why.
void reportNotSaved(Notices& notices, const std::string& path, const std::string& why);
// The same for a list that could not be written: read-only, changed by another program
// while it was written, or a failed write (which says where the list as it was is kept
// when it could not be put back).
void reportListNotWritten(Notices& notices, const std::string& path, const LineOutput& out);
void reportListNotWritten(Notices& notices, const std::string& path,
                          const platform::WriteResult& result);
void reportListNotWritten(Notices& notices, const std::string& path,
                          const platform::AtomicFileWriter& out);

// Writes the whole new contents of a list held in memory through `target`, the list's
// writer, and puts them in its place; false, with the failure reported, when that fails.
bool replaceListWith(Notices& notices, const std::string& path, platform::AtomicFileWriter& target,
                     std::string_view bytes);

} // namespace quillan
