#include "listio/ListReading.h"

#include "core/BusyCursor.h"
#include "core/SettingsList.h"
#include "listio/AsciiFormat.h"
#include "listio/ComponentListOpener.h"
#include "listio/FieldIdentification.h"
#include "listio/ListErrorText.h"
#include "listio/ListFormat.h"
#include "listio/ListNotices.h"
#include "listio/ListPaths.h"
#include "listio/PaveReader.h"
#include "listio/RecordReader.h"
#include "platform/fs/InterruptedWrite.h"
#include "platform/fs/RegularFile.h"

namespace quillan {

using namespace platform;

namespace {

// A list must be a plain file with something in it: anything else is refused before it is
// opened (a named pipe would never end, a device never stop).
bool readableFile(Notices& notices, const std::string& path) {
    platform::FileStatus status = platform::statusOf(path);
    if (status.exists && !status.regular) {
        cannotReadList(notices, path, status.notRegularReason, false);
        return false;
    }
    if (status.regular && status.size == 0) {
        ShowNoRecords(notices, path, "The file is empty.");
        return false;
    }
    return true;
}

bool overLimit(ListOpening& opening, long n) {
    if (static_cast<long long>(opening.mailing().recordCount()) + n <= MaxMailingRecords)
        return false;
    opening.notices().tell({BeepKind::Asterisk, MessageKind::Information, MessageButtons::Cancel,
                            "You have tried to load more than 100,000 zip codes, exceeding the "
                            "limit of the program."});
    return true;
}

// The records of a list whose fields must be found: a heading row is no record, it neither
// counts towards the limit nor is read.
long readIdentifiedRecords(ListOpening& opening, OpenedList& list) {
    long n = IdentifyFields(opening, *list.source, list.records, list.fields);
    if (n <= 0)
        return 0;
    const long headings = list.source->readFor(opening.state().roles());
    if (opening.format().text)
        opening.state().headingLine = opening.format().headerLine || headings > 0;
    n -= headings;
    if (n <= 0) {
        ShowNoRecords(opening.notices(), opening.reading.list.path,
                      "The sheet holds only the names of its fields.");
        return 0;
    }
    if (overLimit(opening, n))
        return 0;
    // The pieces read before a list that fails part way are all that is kept.
    std::vector<Piece>& pieces = opening.mailing().tables.pieces;
    const size_t start = pieces.size();
    pieces.reserve(start + static_cast<size_t>(n));
    try {
        ReadListRecords(opening, *list.source, n, list.fields);
    } catch (const OwnFileFault&) {
        pieces.resize(start);
        throw; // one of Quillan's own tables, not the list
    } catch (const std::exception& e) {
        // A file damaged past the records counted, or taken away while it is read: nothing
        // of it is kept.
        pieces.resize(start);
        cannotReadList(opening.notices(), opening.reading.list.path, e);
        return 0;
    }
    return n;
}

long readRecords(ListOpening& opening, OpenedList& list) {
    if (opening.format().identifiesFields)
        return readIdentifiedRecords(opening, list);
    // The format fixes the fields: the pieces are read from their positions.
    long n = list.records;
    return overLimit(opening, n)
               ? 0
               : ReadPaveRecords(opening, *list.source, opening.reading.list.path, n);
}

// A copy of a list that a stopped write-back kept, which is not put back: the list is no
// longer what that write left. Nothing of either is lost: the person is told where each is.
void tellCopyLeftAlone(Notices& notices, const std::string& path,
                       const platform::InterruptedWrite::LeftCopy& left) {
    const std::string reading = fileNameOf(path);
    const std::string now =
        reading == left.fileName
            ? reading + " is no longer what that stopped write left (it has been saved or "
                        "replaced since)"
            : reading + ", which Quillan is reading now, is not what that stopped write left";
    notices.tell({BeepKind::Asterisk, MessageKind::Information, MessageButtons::Ok,
                  "Quillan was stopped while it wrote the sorting information into " +
                      left.fileName + ", and kept a copy of that list as it was in the file \"" +
                      left.copy + "\". " + now +
                      ", so Quillan has left it as it is and has not put the copy back. The "
                      "copy holds " +
                      left.fileName +
                      " as it was before that sort: if that is the version you want, put the "
                      "copy in place of " +
                      left.fileName + "; otherwise you may delete the copy."});
}

// A list that a write-back was stopped in the middle of (a kill, a power cut) is damaged,
// and the copy of it as it was lies beside it: it is put back before anything is read, and
// the person told. What such writes left beside it goes too. False when it could not be
// put back: the list is refused, and the person told where it is as it was.
bool recoverInterruptedWriteBack(Notices& notices, const std::string& path) {
    const platform::InterruptedWrite found =
        platform::recoverInterruptedWrite(path, {AccessWorkCopyPattern});
    for (const platform::InterruptedWrite::LeftCopy& left : found.leftAlone)
        tellCopyLeftAlone(notices, path, left);
    const std::string stopped = "Quillan was stopped while it wrote the sorting information "
                                "into " +
                                fileNameOf(path) +
                                ", and kept a copy of the list as it was in "
                                "the file \"" +
                                found.keptCopy + "\". ";
    if (found.restored) {
        notices.tell({BeepKind::Asterisk, MessageKind::Information, MessageButtons::Ok,
                      stopped + "It has put the list back from that copy: the list is as it was "
                                "before that sort, and the copy is gone."});
        return true;
    }
    if (found.error.empty())
        return true;
    refuseList(notices, stopped + "It could not put the list back (" + found.error +
                            "). Please put that copy in place of " + fileNameOf(path) +
                            " and sort it again.");
    return false;
}

// The list's format: its extension's, else the one its first line tells. Nothing after the
// person was told why the file cannot be read.
const ListFormat* formatOf(Notices& notices, const std::string& path) {
    if (!readableFile(notices, path) || !recoverInterruptedWriteBack(notices, path))
        return nullptr;
    if (std::string newer = newerWorkbookRefusal(path); !newer.empty()) {
        refuseList(notices, newer);
        return nullptr;
    }
    if (const ListFormat* format = formatForExtension(path))
        return format;
    return DetectAsciiFormat(notices, path);
}

long readList(ListOpening& opening) {
    const std::string& path = opening.reading.list.path;
    // Goes with the reading: an Access table is read once, and closing its source lets the
    // database go.
    OpenedList list;
    try {
        opening.reading.list.format = formatOf(opening.notices(), path);
        if (!opening.reading.list.format)
            return 0;
        list = opening.format().open(opening, path);
    } catch (const OwnFileFault&) {
        throw; // one of Quillan's own tables, not the list
    } catch (const std::exception& e) {
        cannotReadList(opening.notices(), path, e);
        return 0;
    }
    return list.records > 0 ? readRecords(opening, list) : 0;
}

} // namespace

ListReading ReadMailingList(const ListRequest& request, const SettingsLists& settings,
                            ListPeople& people) {
    ListReading reading;
    reading.list.path = request.path;
    people.progress.clearPicture();
    people.progress.clearCaptions();
    BusyCursor busy(people.notices);
    ListOpening opening{request, settings, people, reading};
    const long n = readList(opening);
    if (n > 0 && reading.mailing.recordCount() > 0)
        reading.outcome = ReadOutcome::Read;
    return reading;
}

} // namespace quillan
