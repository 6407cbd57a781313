#include "app/SortCommands.h"

#include "app/AfterSortReports.h"
#include "app/DataFiles.h"
#include "app/ListFileChoice.h"
#include "app/ListReadingStep.h"
#include "app/PageRun.h"
#include "app/RunGuarded.h"
#include "core/BusyCursor.h"
#include "core/MailingMinimums.h"
#include "core/SettingsList.h"
#include "core/StagedSortResult.h"
#include "core/presort/PresortDriver.h"
#include "listio/ListFormat.h"
#include "platform/Interruption.h"
#include "printouts/PaveRecords.h"

#include <optional>

namespace quillan {

using namespace platform;

namespace {

// Pages of the Sort Wizard, in order; the sort itself is the last.
enum WizardPage { MailTypesPage = 1, MailerPage, PeriodicalsPage, PreferencesPage, SortPage };

} // namespace

SortCommands::SortCommands(AppContext& ctx, WizardPages pages, FieldChooser& fieldChooser,
                           TableChooser& tableChooser, PrintRun& printRun)
    : ctx_(ctx), pages_(pages), fieldChooser_(fieldChooser), tableChooser_(tableChooser),
      printRun_(printRun) {}

// The list of the last command is done with; the next one is named once it is chosen, for
// the whole reading and sorting: a person who leaves meanwhile is asked about this list.
ListReading SortCommands::readList(ListPurpose purpose) {
    listInHand_.clear();
    const std::string path = ChooseListFile(ctx_, purpose);
    if (path.empty())
        return {};
    listInHand_ = path;
    return ReadListForCommand(ctx_, fieldChooser_, tableChooser_, path);
}

void SortCommands::sortOneList() {
    // The partner program may stop the sort of its run as a caller stops an unattended one:
    // at a safe point, never inside the write of the list, with the status saying so. At the
    // Wizard's pages before, nothing is written, and a signal ends the program at once.
    if (ctx_.runMode == RunMode::Partner)
        platform::catchInterruptions();
    sortRan_ = true;
    outcome_ = ExitStatus::ProgramFailure;
    runGuarded(ctx_, [this] { outcome_ = sortList(); });
    ResetWorkLists(ctx_);
    // An unattended sort ends the program whatever became of it, so that the program that
    // started it is never left waiting; the exit status tells it the outcome.
    if (ctx_.runMode == RunMode::Unattended && endProgram)
        endProgram(exitCode(outcome_));
}

// The command owns what it reads, its list and its mailing, from here to its end.
ExitStatus SortCommands::sortList() {
    ListReading reading = readList(ListPurpose::Sort);
    if (stoppedFromOutside())
        return ExitStatus::Cancelled;
    // A table or field choice cancelled ends the sort as a refused list does.
    if (reading.outcome != ReadOutcome::Read)
        return ExitStatus::ListRefused;
    const MailTypeSettings& mailType = ctx_.lists.mailTypeList;
    if (!MeetsMinimumSize(reading.mailing, mailType) && !askToSortTooSmallMailing())
        return ExitStatus::Cancelled;
    // A stop asked for under the question is taken up once it is answered.
    if (stoppedFromOutside())
        return ExitStatus::Cancelled;
    if (!HasEnoughZip4s(reading.mailing, mailType)) {
        refuseCoSackedMailing();
        return ExitStatus::ListRefused;
    }
    return presortAndWrite(reading.list, std::move(reading.mailing));
}

// The sort result is written aside once the presort is done, and put in place only once the
// sort has gone ahead to its end: a sort stopped before that leaves the file of the last one
// that did, which is what a reprint then prints.
ExitStatus SortCommands::presortAndWrite(const ReadList& list, Mailing read) {
    std::optional<SortedMailing> mailing;
    std::optional<StagedSortResult> result;
    try {
        BusyCursor busy(ctx_.notices());
        mailing.emplace(RunPresort(std::move(read), ctx_.lists, ctx_.progress()));
        result.emplace(*mailing, ctx_.sortResultPath());
    } catch (const FileError& e) {
        // When the sort result cannot be saved (a full disk, say), nothing else is written.
        return refuseUnsavedResult(e, " The sort was abandoned, and your list was left unchanged.");
    }
    if (stoppedFromOutside())
        return ExitStatus::Cancelled;
    // The PAVE test file needs a record for every piece whatever is printed, so they are
    // made with the sort, not with a printout.
    std::vector<std::string> presortRecords;
    if (list.format->keepsPresortRecords)
        presortRecords = MakePaveRecords(*mailing);
    printRun_.session().justSorted = true;
    showPrintingPicture();
    const int failedPrintouts = PrintReportsAfterSort(ctx_, printRun_, *mailing);
    if (stoppedFromOutside())
        return ExitStatus::Cancelled;
    SortInformationResult written;
    if (!ctx_.lists.prefsList.printsOnly() && writeSortInformation)
        written = writeSortInformation(
            {list, *mailing, ctx_.lists, ctx_.separateFilePath(), std::move(presortRecords)});
    if (written.stopped && stoppedFromOutside())
        return ExitStatus::Cancelled;
    try {
        result->putInPlace();
    } catch (const FileError& e) {
        return refuseUnsavedResult(e, " Reports of this sort cannot be printed again.");
    }
    if (written.failed)
        return ExitStatus::NotWritten;
    summarize(list.path, *mailing, written);
    // The sort stands, but a caller who counts on the printouts must learn they are missing.
    return failedPrintouts > 0 ? ExitStatus::PrintoutsFailed : ExitStatus::Sorted;
}

ExitStatus SortCommands::refuseUnsavedResult(const FileError& e, const std::string& outcome) {
    ctx_.platform.ui.setBusyCursor(false);
    ctx_.message(BeepKind::Exclamation, MessageKind::Error, MessageButtons::Cancel,
                 std::string("Quillan could not save the sort result. ") + e.what() + outcome);
    return ExitStatus::NotWritten;
}

void SortCommands::summarize(const std::string& path, const SortedMailing& mailing,
                             const SortInformationResult& written) {
    if (ctx_.runMode != RunMode::Unattended || !printSummary)
        return;
    printSummary("Quillan sorted " + std::to_string(mailing.pieceCount()) + " pieces of " + path +
                 " (" + std::to_string(mailing.rejectedCount()) + " rejected); " +
                 (written.path.empty() ? std::string("no sort information was asked for")
                                       : "sort information in " + written.path) +
                 (written.fieldsWritten.empty() ? "" : " in " + written.fieldsWritten) +
                 "; sort result in " + ctx_.sortResultPath());
}

// A stop asked for from outside (Exit or the window's close while the sort works, an
// interrupt or termination signal in an unattended run) is honoured between the steps of a
// sort and before the list is written, never inside a write.
bool SortCommands::stoppedFromOutside() {
    if (!platform::interruptionRequested())
        return false;
    ctx_.platform.ui.setBusyCursor(false);
    ctx_.message(BeepKind::Asterisk, MessageKind::Information, MessageButtons::Ok,
                 "The sort was cancelled. Your list was left unchanged.");
    return true;
}

// The presort's last caption would otherwise stand over the printing.
void SortCommands::showPrintingPicture() {
    ProgressSink& progress = ctx_.progress();
    progress.clearPicture();
    progress.clearCaptions();
    progress.showCaption(ProgressSink::Caption::Top, "Printing");
}

bool SortCommands::askToSortTooSmallMailing() {
    return ctx_.message(BeepKind::Asterisk, MessageKind::Information, MessageButtons::OkCancel,
                        TooSmallQuestion) == ModalResult::Ok;
}

void SortCommands::refuseCoSackedMailing() {
    ctx_.message(BeepKind::Asterisk, MessageKind::Error, MessageButtons::Ok, TooFewZip4sMessage);
}

void SortCommands::verifyWithoutSorting() {
    runGuarded(ctx_, [this] {
        ListReading reading = readList(ListPurpose::Verify);
        if (reading.outcome != ReadOutcome::Read || platform::interruptionRequested())
            return;
        printRun_.session().justSorted = false;
        const SortedMailing unsorted =
            SortedMailing::unsorted(std::move(reading.mailing), ctx_.lists);
        if (printVerificationReport)
            printVerificationReport(unsorted);
    });
    ResetWorkLists(ctx_);
}

void SortCommands::runSortWizard() {
    sortRan_ = false;
    const bool ran = runGuarded(ctx_, [this] { runWizard(); });
    if (ctx_.platform.ui.quitting())
        return;
    ExitStatus status = !ran       ? ExitStatus::ProgramFailure
                        : sortRan_ ? outcome_
                                   : ExitStatus::Cancelled;
    if (ctx_.parameterCount() >= 1 && endProgram)
        endProgram(exitCode(status));
}

// A skipped page keeps the last result, so Back passes over it backwards and Next forwards.
void SortCommands::runWizard() {
    PageRun samePlace({&pages_.mailTypes.form(), &pages_.mailer.form(), &pages_.periodicals.form(),
                       &pages_.preferences.form()});
    int page = MailTypesPage;
    int result = 0;
    while (page >= MailTypesPage && page <= SortPage) {
        result = showPage(page, result);
        if (ctx_.platform.ui.quitting())
            return;
        if (result == -1)
            --page;
        else if (result == 1)
            ++page;
        else
            return;
    }
}

int SortCommands::showPage(int page, int lastResult) {
    switch (page) {
    case MailTypesPage:
        return pages_.mailTypes.EditMailCategories(1);
    case MailerPage:
        return pages_.mailer.EditMailerInfo(1);
    case PeriodicalsPage:
        if (!ctx_.lists.mailTypeList.isPeriodicals())
            return lastResult;
        return pages_.periodicals.EditPeriodicalSettings(1);
    case PreferencesPage:
        if (ctx_.runMode == RunMode::Partner)
            return lastResult;
        return pages_.preferences.EditPreferences(1);
    case SortPage:
        sortOneList();
        return lastResult;
    default:
        return 0;
    }
}

} // namespace quillan
