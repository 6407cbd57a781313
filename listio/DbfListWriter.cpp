#include "listio/DbfListWriter.h"

#include "core/Convert.h"
#include "listio/DbfHeader.h"
#include "listio/ListFileError.h"
#include "listio/ListPaths.h"
#include "listio/PresortOrder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace quillan {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Where one output field lies in a record: from its first byte (after the deletion mark)
// for its width.
struct FieldSpan {
    size_t offset = 0;
    size_t width = 0;
    bool exists = false;
};

class DbfPatcher {
public:
    explicit DbfPatcher(const SortInformationJob& job) : job_(job), list_(job.list) {
        const ListState& s = list_.state;
        sort_ = span(s.sortColumn);
        tray_ = span(s.trayColumn);
        package_ = span(s.packageColumn);
        endorsement_ = span(s.endorsementColumn);
    }

    // Why the table cannot be written as it was read, or empty.
    std::string problem() const {
        const ListState& s = list_.state;
        if (!sort_.exists)
            return "No field was chosen for the sorting sequence number.";
        for (int column : {s.trayColumn, s.packageColumn, s.endorsementColumn})
            if (column >= static_cast<int>(s.dbfFieldWidths.size()))
                return "A field chosen for the sorting information is not in the table.";
        return currentLayoutProblem();
    }

    void assign() { numbers_.emplace(job_.mailing); }

    // Copies the table into `out`, patching the output fields of the live records; the
    // sort field's name for the closing message, or nothing when the file did not hold the
    // records it held when read.
    std::optional<std::string> copy(LineOutput& out, WriterProgress& progress) {
        const DbfLayout& layout = list_.state.dbf;
        File in(openListFile(list_.path));
        std::vector<char> header(static_cast<size_t>(layout.headerLength));
        readExactly(in.get(), header);
        out.raw({header.data(), header.size()});
        std::vector<char> record(static_cast<size_t>(layout.recordLength));
        const int32_t count = job_.mailing.recordCount();
        int32_t live = 0;
        for (long k = 1; k <= layout.records; ++k) {
            readExactly(in.get(), record);
            // Records marked deleted were skipped when read: they stay as they are.
            if (record[0] == ' ' && ++live <= count) {
                progress.before(live, count);
                patch(record, numbers_->valuesOf(live - 1));
            }
            out.raw({record.data(), record.size()});
        }
        if (live != count)
            return std::nullopt;
        copyRest(in.get(), out);
        return sortFieldName(header);
    }

private:
    FieldSpan span(int column) const {
        const auto& widths = list_.state.dbfFieldWidths;
        if (column < 0 || column >= static_cast<int>(widths.size()))
            return {};
        FieldSpan s;
        s.exists = true;
        s.offset = 1;
        for (int c = 0; c < column; ++c)
            s.offset += static_cast<size_t>(widths[static_cast<size_t>(c)]);
        s.width = static_cast<size_t>(widths[static_cast<size_t>(column)]);
        return s;
    }

    std::string currentLayoutProblem() const {
        const DbfLayout& was = list_.state.dbf;
        DbfHeaderCheck check = readDbfHeader(list_.path);
        bool same = check.header && check.header->headerLength == was.headerLength &&
                    check.header->recordLength == was.recordLength &&
                    check.header->statedRecords == was.statedRecords &&
                    check.header->records == was.records && check.header->fileSize == was.fileSize;
        if (same) {
            const auto& fields = check.header->fields;
            same = fields.size() == list_.state.dbfFieldWidths.size();
            for (size_t c = 0; same && c < fields.size(); ++c)
                same = fields[c].width == list_.state.dbfFieldWidths[c];
        }
        if (same && was.recordLength > 0 && listUnchangedSinceRead(list_))
            return {};
        return ListChangedReason;
    }

    static void put(std::vector<char>& record, const FieldSpan& field, const std::string& value) {
        if (!field.exists)
            return;
        char* at = record.data() + field.offset;
        std::memset(at, ' ', field.width);
        std::memcpy(at, value.data(), std::min(value.size(), field.width));
    }

    // A field takes its value from its first byte and blanks after it, so the blank of a
    // class without endorsement lines blanks the whole field.
    void patch(std::vector<char>& record, const RecordSortValues& values) {
        put(record, sort_, values.sort);
        put(record, endorsement_, values.endorsement);
        put(record, tray_, values.tray);
        put(record, package_, values.package);
    }

    void readExactly(std::FILE* in, std::vector<char>& bytes) const {
        if (std::fread(bytes.data(), 1, bytes.size(), in) != bytes.size())
            throw ListFileError::cannotRead(list_.path, errno ? errno : EIO);
    }

    static void copyRest(std::FILE* in, LineOutput& out) {
        char block[64 * 1024];
        size_t n;
        while ((n = std::fread(block, 1, sizeof block, in)) > 0)
            out.raw({block, n});
    }

    // The sort field's name as its descriptor holds it, without blanks and zero bytes.
    std::string sortFieldName(const std::vector<char>& header) const {
        size_t at = 32 + 32 * static_cast<size_t>(list_.state.sortColumn);
        std::string name;
        for (size_t i = at; i < at + 11 && i < header.size(); ++i)
            if (header[i] != ' ' && header[i] != '\0')
                name += header[i];
        return name;
    }

    const SortInformationJob& job_;
    const ReadList& list_;
    FieldSpan sort_, tray_, package_, endorsement_;
    std::optional<SortNumbers> numbers_;
};

} // namespace

std::optional<ClosingMessage> WriteDbfList(const SortInformationJob& job, Notices& notices,
                                           WriterProgress& progress) {
    progress.begin("Sorting Information");
    const std::string& path = job.list.path;
    DbfPatcher patcher(job);
    try {
        if (std::string problem = patcher.problem(); !problem.empty()) {
            reportNotSaved(notices, path, problem);
            return std::nullopt;
        }
        patcher.assign();
        LineOutput out(path, "\r\n", platform::AtomicFileWriter::Links::Follow,
                       job.list.state.listStamp);
        if (!out.ok()) {
            reportListNotWritten(notices, path, out);
            return std::nullopt;
        }
        std::optional<std::string> field = patcher.copy(out, progress);
        if (!field) {
            reportNotSaved(notices, path,
                           "The file no longer holds the records Quillan read. It has been left "
                           "as it is; please sort it again.");
            return std::nullopt;
        }
        if (progress.stopBeforeWriting())
            return std::nullopt;
        platform::WriteResult result = out.commit();
        if (!result.ok) {
            reportListNotWritten(notices, path, result);
            return std::nullopt;
        }
        return ClosingMessage{
            "Quillan has saved sorting information in the file named \"" + fileNameOf(path) +
                "\". Using your mailing list software, you should now sort the file in "
                "ascending order based on the field named \"" +
                *field + "\".",
            " Before you do, would you like to add barcodes to this file?", path};
    } catch (const ListFileError& e) {
        reportNotSaved(notices, path,
                       std::string("Your list has not been changed. (") + e.what() + ")");
        return std::nullopt;
    }
}

} // namespace quillan
