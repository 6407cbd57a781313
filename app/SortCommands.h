#pragma once

#include "app/AppContext.h"
#include "app/ExitStatus.h"
#include "app/ListFileChoice.h"
#include "app/MailTypeDialog.h"
#include "app/MailerInfoDialog.h"
#include "app/PeriodicalDialog.h"
#include "app/PrefDialog.h"
#include "printouts/PrintRun.h"

#include "listio/FieldChooser.h"
#include "listio/ListReading.h"
#include "listio/SortInformationWriter.h"
#include "listio/TableChooser.h"

#include <functional>

namespace quillan {

// The settings dialogs that serve as the pages of the Sort Wizard.
struct WizardPages {
    MailTypeDialog& mailTypes;
    MailerInfoDialog& mailer;
    PeriodicalDialog& periodicals;
    PrefDialog& preferences;
};

// The main window's commands that read, sort and verify a mailing. Every command ends with
// the work tables at their seed, whatever its outcome; a failure inside it is reported and
// abandons the command. A command-line run ends the program after its command.
class SortCommands {
public:
    SortCommands(AppContext& ctx, WizardPages pages, FieldChooser& fieldChooser,
                 TableChooser& tableChooser, PrintRun& printRun);

    // Ends the program (help closed, lists freed, message loop left) with an exit status.
    std::function<void(int)> endProgram;
    // Writes the sort information into the list or a separate file.
    std::function<SortInformationResult(const SortInformationJob&)> writeSortInformation;
    // Prints the one line that sums up a finished unattended sort ("NOSTOP").
    std::function<void(const std::string&)> printSummary;
    // Prints the verification report of the list just read.
    std::function<void(const SortedMailing&)> printVerificationReport;

    // Sort One List: reads a list, checks the mailing's size, presorts it, runs the
    // after-sort print run and writes the sort information.
    void sortOneList();
    // Verify Without Sorting: reads a list and prints its verification report.
    void verifyWithoutSorting();
    // The Sort Wizard: the settings pages, then Sort One List.
    void runSortWizard();

    // How the last Sort One List or Sort Wizard ended.
    ExitStatus outcome() const { return outcome_; }
    // The list the command under way reads, sorts or verifies; "" before one is chosen.
    const std::string& listInHand() const { return listInHand_; }

private:
    ExitStatus sortList();
    ExitStatus presortAndWrite(const ReadList& list, Mailing read);
    void summarize(const std::string& path, const SortedMailing& mailing,
                   const SortInformationResult& written);
    void runWizard();
    int showPage(int page, int lastResult);
    bool stoppedFromOutside();
    void showPrintingPicture();
    ExitStatus refuseUnsavedResult(const FileError& e, const std::string& outcome);
    bool askToSortTooSmallMailing();
    void refuseCoSackedMailing();
    // Chooses the list and reads it; a refused reading when none was chosen.
    ListReading readList(ListPurpose purpose);

    AppContext& ctx_;
    WizardPages pages_;
    FieldChooser& fieldChooser_;
    TableChooser& tableChooser_;
    PrintRun& printRun_;
    std::string listInHand_;
    ExitStatus outcome_ = ExitStatus::Sorted;
    bool sortRan_ = false;
};

} // namespace quillan
