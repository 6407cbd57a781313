#include "listio/SortInformationWriter.h"

#include "core/BusyCursor.h"
#include "listio/ListFormat.h"
#include "listio/ListWriter.h"
#include "listio/SeparateFileWriter.h"

namespace quillan {

namespace {

void showSavingPicture(ProgressSink& progress) {
    progress.clearPicture();
    progress.clearCaptions();
    progress.showPage();
    progress.showCaption(ProgressSink::Caption::Top, "Saving");
}

std::optional<ClosingMessage> writeIntoList(const SortInformationJob& job, Notices& notices,
                                            WriterProgress& progress) {
    std::unique_ptr<ListWriter> writer = job.list.format ? job.list.format->writer() : nullptr;
    if (!writer)
        return std::nullopt;
    return writer->write(job, notices, progress);
}

std::optional<ClosingMessage> writeSeparately(const SortInformationJob& job, Notices& notices,
                                              WriterProgress& progress) {
    return WriteSeparateFile(job, notices, progress);
}

} // namespace

SortInformationResult WriteSortInformation(const SortInformationJob& job, Notices& notices,
                                           ProgressSink& sink) {
    BusyCursor busy(notices);
    showSavingPicture(sink);
    WriterProgress progress(sink);
    const Preferences& prefs = job.settings.prefsList;
    if (!prefs.writesIntoList() && !prefs.writesSeparateFile())
        return {};
    std::optional<ClosingMessage> closing = prefs.writesIntoList()
                                                ? writeIntoList(job, notices, progress)
                                                : writeSeparately(job, notices, progress);
    if (!closing)
        return {.failed = !progress.stopped(), .stopped = progress.stopped()};
    return {.path = closing->path,
            .fieldsWritten = closing->fieldsWritten,
            .closing = std::move(closing)};
}

Notice closingNotice(const ClosingMessage& closing, MailClass mailClass) {
    using namespace platform;
    const bool offer = mailClass.isAutomation() && !closing.barcodeQuestion.empty();
    return {BeepKind::Asterisk, MessageKind::Information,
            offer ? MessageButtons::YesNo : MessageButtons::Ok,
            offer ? closing.text + closing.barcodeQuestion : closing.text};
}

} // namespace quillan
