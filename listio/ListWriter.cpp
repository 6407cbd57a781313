#include "listio/ListWriter.h"

#include "listio/AccessListWriter.h"
#include "listio/DbfListWriter.h"
#include "listio/ExcelListWriter.h"
#include "listio/ListKinds.h"
#include "listio/PaveListWriter.h"
#include "listio/TextListWriter.h"

namespace quillan {

namespace {

using WriteFunction = std::optional<ClosingMessage> (*)(const SortInformationJob&, Notices&,
                                                        WriterProgress&);

class KindWriter : public ListWriter {
public:
    KindWriter(WriteFunction write, bool needsLines) : write_(write), needsLines_(needsLines) {}
    bool needsRecordLines() const override { return needsLines_; }
    std::optional<ClosingMessage> write(const SortInformationJob& job, Notices& notices,
                                        WriterProgress& progress) override {
        return write_(job, notices, progress);
    }

private:
    WriteFunction write_;
    bool needsLines_;
};

} // namespace

std::unique_ptr<ListWriter> listWriterFor(const std::string& kind) {
    if (isTextKind(kind))
        return std::make_unique<KindWriter>(WriteTextList, true);
    if (kind == KindPave)
        return std::make_unique<KindWriter>(WritePaveList, true);
    if (kind == KindDbase)
        return std::make_unique<KindWriter>(WriteDbfList, false);
    if (kind == KindAccess)
        return std::make_unique<KindWriter>(WriteAccessList, false);
    if (kind == KindExcel)
        return std::make_unique<KindWriter>(WriteExcelList, false);
    return nullptr;
}

} // namespace quillan
