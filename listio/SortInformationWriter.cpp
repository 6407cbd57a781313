#include "listio/SortInformationWriter.h"

#include "listio/BarcodingProgram.h"
#include "listio/ListKinds.h"
#include "listio/ListWriter.h"
#include "listio/SeparateFileWriter.h"
#include "listio/SortWriterSupport.h"

namespace quillan {

using namespace platform;

namespace {

void showSavingPicture(AppContext& ctx) {
    ProgressSink& progress = ctx.progress();
    progress.clearPicture();
    progress.clearCaptions();
    ctx.platform.ui.setBusyCursor(true);
    progress.showPage();
    progress.showCaption(ProgressSink::Caption::Top, "Saving");
}

// The per-record tables must cover every record counted; the text kinds also need each
// record's line.
bool recordsInMemory(const AppContext& ctx, bool needLines) {
    const WorkTables& t = ctx.tables;
    const size_t rows = static_cast<size_t>(std::max(ctx.counters.recordCount, 0)) + 1;
    return t.pieceZips.size() >= rows && t.pieceInCounty.size() >= rows &&
           (!needLines || t.pieceRecords.size() >= rows);
}

std::optional<ClosingMessage> writeIntoList(AppContext& ctx, WriterProgress& progress) {
    std::unique_ptr<ListWriter> writer = listWriterFor(ctx.listFileKind);
    if (!writer)
        return std::nullopt;
    if (!recordsInMemory(ctx, writer->needsRecordLines())) {
        reportNotSaved(ctx, ctx.listFileName,
                       "The records of the list are no longer in memory; please sort it again.");
        return std::nullopt;
    }
    return writer->write(ctx, progress);
}

std::optional<ClosingMessage> writeSeparately(AppContext& ctx, WriterProgress& progress) {
    if (!recordsInMemory(ctx, false)) {
        reportNotSaved(ctx, ctx.separateFilePath(),
                       "The records of the list are no longer in memory; please sort it again.");
        return std::nullopt;
    }
    return WriteSeparateFile(ctx, progress);
}

void showClosingMessage(AppContext& ctx, const ClosingMessage& closing) {
    if (ctx.parameterCount() > 0)
        return; // unattended: another program started the sort and reads the result itself
    const bool offer = ctx.mailClass.isAutomation() && !closing.barcodeQuestion.empty();
    ModalResult answer = ctx.message(BeepKind::Asterisk, MessageKind::Information,
                                     offer ? MessageButtons::YesNo : MessageButtons::Ok,
                                     offer ? closing.text + closing.barcodeQuestion : closing.text);
    if (offer && answer == ModalResult::Yes)
        RunBarcodingProgram(ctx, ctx.listFileName);
}

} // namespace

SortInformationResult WriteSortInformation(AppContext& ctx) {
    showSavingPicture(ctx);
    WriterProgress progress(ctx);
    const auto& prefs = ctx.lists.prefsList;
    if (!prefs.writesIntoList() && !prefs.writesSeparateFile())
        return {};
    std::optional<ClosingMessage> closing =
        prefs.writesIntoList() ? writeIntoList(ctx, progress) : writeSeparately(ctx, progress);
    if (!closing)
        return {.failed = !progress.stopped(), .stopped = progress.stopped(), .path = {}};
    showClosingMessage(ctx, *closing);
    return {.failed = false, .stopped = false, .path = closing->path};
}

} // namespace quillan
