#pragma once

#include "app/ListFileChoice.h"
#include "app/ListReadingStep.h"
#include "app/MainWindow.h"
#include "app/TableDialog.h"
#include "app/VerifyDialog.h"
#include "listio/ListReading.h"
#include "tests/support/TestEnvironment.h"

#include <string>
#include <vector>

namespace quillan::test {

// A loaded program folder with the main window (for the reading picture and its pauses),
// the field dialog and the table selector, over the scripted platform.
struct ListFixture {
    explicit ListFixture(std::vector<std::string> parameters = {},
                         const std::string& tablesFrom = {});

    TestEnvironment env;
    MainWindow window;
    VerifyDialog dialog;
    TableDialog tables;

    AppContext& ctx() { return env.context(); }
    platform::ScriptedUi& ui() { return env.ui; }

    // Writes a file into the scratch folder and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Sets one line of a settings list in memory.
    template <class List, class Owner>
    void setLine(List Owner::*list, long line, const std::string& value) {
        (ctx().lists.*list)[line] = value;
    }

    // Opens the list through the open dialog, pressing Finish in the field dialog when it
    // shows (once, unless told otherwise).
    std::string open(const std::string& path, int finishes = 1);
    // Chooses and reads a list as a command does, with the given person at the field
    // dialog; the path read, or "" when nothing was (`outcome` says why).
    std::string read(FieldChooser& fields, ListPurpose purpose = ListPurpose::Sort);
    ReadOutcome outcome = ReadOutcome::Refused;
    // What the last read gave, as a command keeps it; nothing read before the first.
    ListReading reading;
    // The name of the format of the list read, or "" when none was.
    std::string formatRead() const;
    // The class a test sorts the list under.
    MailClass mailClass;

    std::vector<std::string> messageTexts() const;
};

// Lines joined with CR LF, each terminated.
std::string crlf(const std::vector<std::string>& lines);

struct TableField {
    std::string name;
    char type;
    int width;
};

// A dBase III table built byte by byte; each record is its deletion mark and its values.
std::string dbfTable(const std::vector<TableField>& fields,
                     const std::vector<std::pair<bool, std::vector<std::string>>>& records);

} // namespace quillan::test
