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

#include <algorithm>

namespace quillan {

using namespace platform;

namespace {

// A list must be a plain file: anything else is refused before it is opened (a named pipe
// would never end, a device never stop).
bool plainFile(Notices& notices, const std::string& path) {
    platform::FileStatus status = platform::statusOf(path);
    if (status.exists && !status.regular) {
        cannotReadList(notices, path, status.notRegularReason, false);
        return false;
    }
    return true;
}

// An empty list is refused; asked after a stopped write-back was dealt with, so that the
// person also hears of a copy of the list as it was kept beside it.
bool holdsSomething(Notices& notices, const std::string& path) {
    platform::FileStatus status = platform::statusOf(path);
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

std::string namesOf(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths)
        names.push_back(fileNameOf(path));
    return quotedNames(names);
}

std::string stoppedWhileWriting(const std::string& fileName, const std::string& copy) {
    return "Quillan was stopped while it wrote the sorting information into " + fileName +
           ", and kept a copy of the list as it was in the file \"" + copy + "\". ";
}

// A copy of a list that a stopped write-back kept, which is not put back: the file it was
// kept of is no longer what that write left. Nothing of either is lost: the person is told
// where each is.
void tellCopyLeftAlone(Notices& notices, const platform::InterruptedWrite::LeftCopy& left) {
    const size_t count = left.changedNames.size();
    const std::string now =
        count == 0 ? "No file beside the copy is that list any more (" + left.fileName +
                         " has been replaced or deleted since)"
                   : "That list, " + std::string(count == 1 ? "" : "under its names ") +
                         namesOf(left.changedNames) + ", has been changed since that stopped write";
    notices.tell({BeepKind::Asterisk, MessageKind::Information, MessageButtons::Ok,
                  stoppedWhileWriting(left.fileName, left.copy) + now +
                      ", so Quillan has left it as it is and has not put the copy back. The "
                      "copy holds " +
                      left.fileName +
                      " as it was before that sort: if that is the version you want, put the "
                      "copy in place of it; otherwise you may delete the copy."});
}

void tellPutBack(Notices& notices, const std::string& path,
                 const platform::InterruptedWrite& found) {
    const bool one = found.names.size() == 1;
    std::string text = stoppedWhileWriting(found.fileName, found.keptCopy) +
                       "It has put the list back from that copy under " +
                       (one ? "its name " : "its names ") + namesOf(found.names) +
                       ": the list is as it was before that sort, and the copy is gone.";
    // Only the name that was written is known to have held the list: another name read (a
    // list whose long name is cut to the same copy's name) may never have been it.
    const std::string readName = fileNameOf(path);
    if (std::find(found.names.begin(), found.names.end(), path) == found.names.end())
        text += " " + readName +
                (readName == found.fileName ? " is another file now" : " is another list") +
                ", and is read as it is.";
    notices.tell(
        {BeepKind::Asterisk, MessageKind::Information, MessageButtons::Ok, std::move(text)});
}

// A list that a write-back was stopped in the middle of (a kill, a power cut) is damaged,
// and the copy of it as it was lies beside it: it is put back before anything is read, and
// the person told. What such writes left beside it goes too. False when it could not be
// put back, or when a damaged copy lies beside it: the list is refused, and the person told
// where it is as it was.
bool recoverInterruptedWriteBack(Notices& notices, const std::string& path) {
    const platform::InterruptedWrite found =
        platform::recoverInterruptedWrite(path, {AccessWorkCopyPattern});
    if (!found.damagedCopy.empty()) {
        refuseList(notices,
                   "Beside " + fileNameOf(path) + " lies the file \"" + found.damagedCopy +
                       "\", which has the name of the copy Quillan keeps of a list while it "
                       "writes the sorting information into it, but which is damaged: " +
                       fileNameOf(path) +
                       " may have been left half written by a write that was stopped, so "
                       "Quillan has not sorted it. Please check that " +
                       fileNameOf(path) +
                       " is whole (put a copy of the list that you trust in its place if it "
                       "is not), then move that file out of the folder, and sort again.");
        return false;
    }
    for (const platform::InterruptedWrite::LeftCopy& left : found.leftAlone)
        tellCopyLeftAlone(notices, left);
    if (found.restored) {
        tellPutBack(notices, path, found);
        return true;
    }
    if (found.error.empty())
        return true;
    refuseList(notices, stoppedWhileWriting(found.fileName, found.keptCopy) +
                            "It could not put the list back (" + found.error +
                            "). Please put that copy in place of " + namesOf(found.names) +
                            " and sort it again.");
    return false;
}

// The list's format: its extension's, else the one its first line tells. Nothing after the
// person was told why the file cannot be read.
const ListFormat* formatOf(Notices& notices, const std::string& path) {
    if (!plainFile(notices, path) || !recoverInterruptedWriteBack(notices, path) ||
        !holdsSomething(notices, path))
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
