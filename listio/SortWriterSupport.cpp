#include "listio/SortWriterSupport.h"

#include "core/Convert.h"
#include "listio/ContainerLabel.h"
#include "listio/ListPaths.h"
#include "platform/Interruption.h"
#include "platform/fs/RegularFile.h"

namespace quillan {

using namespace platform;

void WriterProgress::begin(const std::string& caption) {
    sink_.showCaption(ProgressSink::Caption::Bottom, caption);
    sink_.showIcons(5);
}

void WriterProgress::before(int64_t done, int64_t total) {
    if (total <= 0)
        return;
    while (step_ <= 5 && static_cast<int64_t>(step_) * total <= 5 * done) {
        ++step_;
        sink_.showIcons(6 - step_);
    }
}

bool WriterProgress::stopBeforeWriting() {
    stopped_ = platform::interruptionRequested();
    return stopped_;
}

void LineOutput::raw(std::string_view bytes) {
    buffer_ += bytes;
    if (buffer_.size() >= (1u << 20))
        flush();
}

void LineOutput::line(std::string_view text) {
    buffer_ += text;
    buffer_ += lineEnd_;
    if (buffer_.size() >= (1u << 20))
        flush();
}

void LineOutput::flush() {
    file_.write(buffer_);
    buffer_.clear();
}

platform::WriteResult LineOutput::commit() {
    flush();
    return file_.commit();
}

const std::string& PieceValues::endorsement(int32_t zipGroup) {
    size_t z = static_cast<size_t>(zipGroup);
    if (endorsements_.size() <= z)
        endorsements_.resize(z + 1);
    if (!endorsements_[z])
        endorsements_[z] = BuildContainerLabel(mailing_, z);
    return *endorsements_[z];
}

std::string PieceValues::numbered(int32_t index) {
    return padded(int64_t(index) + 1);
}

std::string PieceValues::padded(int64_t n) {
    return zeroPad(n, 5);
}

const std::string& PieceValues::notPlaced() {
    static const std::string zeros = "00000";
    return zeros;
}

SortNumbers::SortNumbers(const SortedMailing& mailing)
    : values_(mailing), endorsed_(mailing.mailClass().hasEndorsementLine()) {
    assigned_.assign(mailing.pieces().size(), {});
    largest_.sequence = static_cast<long long>(assigned_.size());
    WalkPresortOrder(mailing, {}, [this](const PlacedPiece& p) {
        assigned_[static_cast<size_t>(p.record)] = {++nextSequence_, p};
        largest_.tray = std::max<long long>(largest_.tray, p.container + 1LL);
        largest_.package = std::max<long long>(largest_.package, p.sortGroup + 1LL);
    });
}

RecordSortValues SortNumbers::valuesOf(int32_t record) {
    const Assignment a = record >= 0 && static_cast<size_t>(record) < assigned_.size()
                             ? assigned_[static_cast<size_t>(record)]
                             : Assignment{};
    if (a.sequence == 0)
        return {false, zeroPad(++nextSequence_, 6), PieceValues::notPlaced(),
                PieceValues::notPlaced(), ""};
    return {true, zeroPad(a.sequence, 6), values_.tray(a.piece), values_.package(a.piece),
            endorsed_ ? values_.endorsement(a.piece.zipGroup) : " "};
}

FileStamp listStampOf(const std::string& path) {
    return platform::stampOf(path);
}

bool listUnchangedSinceRead(const ReadList& list) {
    return platform::statusOf(list.path).regular && listStampOf(list.path) == list.state.listStamp;
}

ClosingMessage sortedFileMessage(const std::string& path) {
    return {"Quillan has sorted the file named \"" + fileNameOf(path) + "\".",
            " If you have installed the program named \"Tarnwick\", you can now add barcodes to "
            "the file. Would you like to add barcodes?",
            path};
}

void reportNotSaved(Notices& notices, const std::string& path, const std::string& why) {
    notices.tell({BeepKind::Exclamation, MessageKind::Error, MessageButtons::Cancel,
                  "Quillan could not save the sorting information in the file \"" +
                      fileNameOf(path) + "\". " + why});
}

} // namespace quillan

namespace quillan {

// A save by another program that landed while the list was written is never overwritten.
static const char* const ChangedWhileWritten =
    "The file was changed by another program while Quillan was writing the sorting "
    "information into it. Your version has been kept as it is; please sort the list again.";

static void reportNotWritable(Notices& notices, const std::string& path, bool readOnly,
                              bool changed, const std::string& error) {
    if (changed) {
        reportNotSaved(notices, path, ChangedWhileWritten);
        return;
    }
    if (!readOnly) {
        reportNotSaved(notices, path, "Your list has not been changed. (" + error + ")");
        return;
    }
    reportNotSaved(notices, path,
                   "The file is read-only: you may not change it, so Quillan has left it as it "
                   "is. Choose \"Put it in a separate file.\" in the Preferences to keep the "
                   "sorting information.");
}

void reportListNotWritten(Notices& notices, const std::string& path, const LineOutput& out) {
    reportNotWritable(notices, path, out.targetReadOnly(), out.targetChanged(), out.error());
}

void reportListNotWritten(Notices& notices, const std::string& path,
                          const platform::AtomicFileWriter& out) {
    reportNotWritable(notices, path, out.targetReadOnly(), out.targetChanged(), out.error());
}

// A list with other names, to be written over in place, that another program replaced with
// a file of its own meanwhile: that file holds the list's name now, and the list as read is
// under its other names, sorted when the replacing came while it was written over.
static void reportReplacedInPlace(Notices& notices, const std::string& path,
                                  const platform::WriteResult& result) {
    std::vector<std::string> others;
    for (const std::string& name : result.otherNames)
        others.push_back(fileNameOf(name));
    const bool one = others.size() == 1;
    const std::string which = quotedNames(others) +
                              (one ? ", the other name" : ", the other names") +
                              " of the list as Quillan read it, which " + (one ? "is" : "are") +
                              " no longer the same file as \"" + fileNameOf(path) + "\"";
    std::string where;
    if (result.otherNamesWritten)
        where = others.empty() ? "The sorted list went into the file that was there before, "
                                 "which has no other name in that folder. "
                               : "The sorted list went into " + which + ". ";
    else if (!others.empty())
        where = which + (one ? ", still holds" : ", still hold") +
                " the list as it was, without the sorting information. ";
    reportNotSaved(notices, path,
                   "Another program put a file of its own in its place while Quillan was "
                   "writing the sorting information into it: \"" +
                       fileNameOf(path) + "\" now holds that program's version, kept as it is. " +
                       where + "Please check which version you want, and sort it again.");
}

void reportListNotWritten(Notices& notices, const std::string& path,
                          const platform::WriteResult& result) {
    if (result.replacedInPlace) {
        reportReplacedInPlace(notices, path, result);
        return;
    }
    if (result.writtenInto) {
        reportNotSaved(notices, path,
                       "Another program wrote into the file while Quillan was writing the "
                       "sorting information into it: \"" +
                           fileNameOf(path) +
                           "\" now holds part of what that program wrote and part of the "
                           "sorted list, and Quillan has left it as it is. The list as it was "
                           "before this sort is in the file \"" +
                           result.asItWas +
                           "\". Please check which version you want, put it in place, and "
                           "sort it again.");
        return;
    }
    if (result.changed && !result.keptCopy.empty()) {
        reportNotSaved(notices, path,
                       "The file was changed by another program while Quillan was writing it, "
                       "and Quillan could not put that version back in its place: it is in the "
                       "file \"" +
                           result.keptCopy + "\". Please put it back and sort the list again.");
        return;
    }
    if (result.changed) {
        reportNotSaved(notices, path, ChangedWhileWritten);
        return;
    }
    if (result.keptCopy.empty()) {
        reportNotSaved(notices, path, "Your list has not been changed. (" + result.error + ")");
        return;
    }
    reportNotSaved(notices, path,
                   "Your list could not be written in full and may be damaged; Quillan has kept "
                   "it as it was in the file \"" +
                       result.keptCopy +
                       "\", and puts it back from there the next time it reads the list. (" +
                       result.error + ")");
}

bool replaceListWith(Notices& notices, const std::string& path, platform::AtomicFileWriter& target,
                     std::string_view bytes) {
    target.write(bytes);
    platform::WriteResult result = target.commit();
    if (!result.ok)
        reportListNotWritten(notices, path, result);
    return result.ok;
}

} // namespace quillan
