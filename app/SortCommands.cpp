#include "app/SortCommands.h"

#include "core/CommandErrors.h"
#include "core/DataFiles.h"
#include "core/MailingMinimums.h"
#include "core/presort/PresortDriver.h"
#include "listio/ListKinds.h"
#include "listio/ListOpener.h"
#include "printouts/AfterSortRun.h"
#include "printouts/PaveRecords.h"

namespace quillan {

using namespace platform;

namespace {

// Pages of the Sort Wizard, in order; the sort itself is the last.
enum WizardPage { MailTypesPage = 1, MailerPage, PeriodicalsPage, PreferencesPage, SortPage };

} // namespace

SortCommands::SortCommands(AppContext& ctx, WizardPages pages, FieldChooser& fieldChooser,
                           PrintRun& printRun)
    : ctx_(ctx), pages_(pages), fieldChooser_(fieldChooser), printRun_(printRun) {}

void SortCommands::seedPieceTables(bool withRecords) {
    WorkTables& t = ctx_.tables;
    t.pieceZips.assign(1, 0);
    if (withRecords)
        t.pieceRecords.assign(1, std::string());
}

void SortCommands::sortOneList() {
    runGuarded(ctx_, [this] { sortList(); });
    ResetWorkLists(ctx_);
    // An unattended sort ends the program whatever became of it, so that the program that
    // started it is never left waiting.
    if (ctx_.runMode() == "NOSTOP" && endProgram)
        endProgram();
}

void SortCommands::sortList() {
    seedPieceTables(true);
    ResetListCounters(ctx_);
    if (OpenMailingList(ctx_, fieldChooser_, "sort").empty() || ctx_.counters.recordCount <= 0)
        return;
    if (!MeetsMinimumSize(ctx_) && !askToSortTooSmallMailing())
        return;
    if (!HasEnoughZip4s(ctx_)) {
        refuseCoSackedMailing();
        return;
    }
    SortedMailing mailing = RunPresort(ctx_);
    if (ctx_.listFileKind == KindPave)
        keepPaveRecords(mailing);
    ctx_.flags.justSorted = true;
    PrintReportsAfterSort(printRun_, mailing);
    if (!ctx_.lists.prefsList.printsOnly() && writeSortInformation)
        writeSortInformation();
}

// The PAVE test file needs a record for every piece whatever is printed, so they are made
// with the sort, not with a printout.
void SortCommands::keepPaveRecords(const SortedMailing& mailing) {
    std::vector<std::string>& rows = ctx_.tables.paveRecords;
    rows.assign(1, std::string());
    std::vector<std::string> records = MakePaveRecords(mailing);
    rows.insert(rows.end(), records.begin(), records.end());
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
        seedPieceTables(false);
        ResetListCounters(ctx_);
        if (OpenMailingList(ctx_, fieldChooser_, "verify").empty() || ctx_.counters.recordCount < 1)
            return;
        ctx_.flags.justSorted = false;
        printMailPrepInstructions(0);
    });
    ResetWorkLists(ctx_);
}

void SortCommands::runSortWizard() {
    runGuarded(ctx_, [this] { runWizard(); });
    if (ctx_.platform.ui.quitting())
        return;
    if (ctx_.parameterCount() >= 1 && endProgram)
        endProgram();
}

// A skipped page keeps the last result, so Back passes over it backwards and Next forwards.
void SortCommands::runWizard() {
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
        if (ctx_.runMode() == "DUZIZ")
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
