#include "listio/ListWriter.h"

#include "listio/DbfListWriter.h"
#include "listio/ListKinds.h"
#include "listio/PaveListWriter.h"
#include "listio/TextListWriter.h"

namespace quillan {

namespace {

using WriteFunction = std::optional<ClosingMessage> (*)(AppContext&, WriterProgress&);

class KindWriter : public ListWriter {
public:
    KindWriter(WriteFunction write, bool needsLines) : write_(write), needsLines_(needsLines) {}
    bool needsRecordLines() const override { return needsLines_; }
    std::optional<ClosingMessage> write(AppContext& ctx, WriterProgress& progress) override {
        return write_(ctx, progress);
    }

private:
    WriteFunction write_;
    bool needsLines_;
};

// Access tables and Excel sheets are written through their own components, which this
// version does not have: it says so before anything is touched.
class UnwritableKind : public ListWriter {
public:
    explicit UnwritableKind(std::string what) : what_(std::move(what)) {}
    bool needsRecordLines() const override { return false; }
    std::optional<ClosingMessage> write(AppContext& ctx, WriterProgress&) override {
        using namespace platform;
        ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                    "Quillan cannot save the sorting information in " +
                        fileNameOf(ctx.listFileName) + ". This version of Quillan does not write " +
                        what_ +
                        ". Choose \"Put it in a separate file.\" in the Preferences to keep the "
                        "sorting information.");
        return std::nullopt;
    }

private:
    std::string what_;
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
        return std::make_unique<UnwritableKind>("Access databases (.MDB)");
    if (kind == KindExcel)
        return std::make_unique<UnwritableKind>("Excel workbooks (.XLS)");
    return nullptr;
}

} // namespace quillan
