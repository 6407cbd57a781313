#include "listio/SortInformationWriter.h"

#include "core/ProgressPicture.h"
#include "listio/BarcodingProgram.h"
#include "listio/DbfListWriter.h"
#include "listio/ListKinds.h"
#include "listio/PaveListWriter.h"
#include "listio/RecordReader.h"
#include "listio/SeparateFileWriter.h"
#include "listio/SortWriterSupport.h"
#include "listio/TextListWriter.h"
#include "platform/ui/Form.h"

namespace quillan {

using namespace platform;

namespace {

void setCaption(AppContext& ctx, const char* name, const std::string& caption) {
    if (ctx.mainWindow)
        if (Control* label = ctx.mainWindow->find(name))
            label->setCaption(caption);
}

void showSavingPicture(AppContext& ctx) {
    setCaption(ctx, "TopLabel", "");
    ClearSortPicture(ctx);
    setCaption(ctx, "Stckr", "");
    setCaption(ctx, "BottomLabel", "");
    ctx.platform.ui.setBusyCursor(true);
    DrawPagePicture(ctx);
    setCaption(ctx, "TopLabel", "Saving");
}

// The per-record tables must cover every record counted; the text kinds also need each
// record's line.
bool recordsInMemory(const AppContext& ctx, bool needLines) {
    const WorkTables& t = ctx.tables;
    const size_t rows = static_cast<size_t>(std::max(ctx.counters.RecordCount, 0)) + 1;
    return t.PieceZips.size() >= rows && t.PieceInCounty.size() >= rows &&
           (!needLines || t.PieceRecords.size() >= rows);
}

// Access tables and Excel sheets are written through their own components, which this
// version does not have: say so before anything is touched.
void refuseUnwritableKind(AppContext& ctx) {
    const bool access = ctx.ListFileKind == KindAccess;
    ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                "Quillan cannot save the sorting information in " + fileNameOf(ctx.ListFileName) +
                    ". This version of Quillan does not write " +
                    (access ? "Access databases (.MDB)" : "Excel workbooks (.XLS)") +
                    ". Choose \"Put it in a separate file.\" in the Preferences to keep the "
                    "sorting information.");
}

std::optional<ClosingMessage> writeIntoList(AppContext& ctx, WriterProgress& progress) {
    const std::string& kind = ctx.ListFileKind;
    if (kind == KindAccess || kind == KindExcel) {
        refuseUnwritableKind(ctx);
        return std::nullopt;
    }
    if (!isTextKind(kind) && kind != KindPave && kind != KindDbase)
        return std::nullopt;
    if (!recordsInMemory(ctx, kind != KindDbase)) {
        reportNotSaved(ctx, ctx.ListFileName,
                       "The records of the list are no longer in memory; please sort it again.");
        return std::nullopt;
    }
    if (isTextKind(kind))
        return WriteTextList(ctx, progress);
    if (kind == KindPave)
        return WritePaveList(ctx, progress);
    return WriteDbfList(ctx, progress);
}

std::optional<ClosingMessage> writeSeparately(AppContext& ctx, WriterProgress& progress) {
    if (ctx.lists.PrefsList[2] != "1")
        return std::nullopt;
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
    const bool offer = isAutomationClass(ctx.MailClassCode) && !closing.barcodeQuestion.empty();
    ModalResult answer = ctx.message(BeepKind::Asterisk, MessageKind::Information,
                                     offer ? MessageButtons::YesNo : MessageButtons::Ok,
                                     offer ? closing.text + closing.barcodeQuestion : closing.text);
    if (offer && answer == ModalResult::Yes)
        RunBarcodingProgram(ctx, ctx.ListFileName);
}

} // namespace

void WriteSortInformation(AppContext& ctx) {
    showSavingPicture(ctx);
    WriterProgress progress(ctx);
    std::optional<ClosingMessage> closing = ctx.lists.PrefsList[2] == "0"
                                                ? writeIntoList(ctx, progress)
                                                : writeSeparately(ctx, progress);
    if (closing)
        showClosingMessage(ctx, *closing);
}

} // namespace quillan
