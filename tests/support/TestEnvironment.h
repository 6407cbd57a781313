#pragma once

#include "app/AppContext.h"
#include "app/UiNotices.h"
#include "platform/Platform.h"
#include "platform/testing/RecordingHelp.h"
#include "platform/testing/RecordingPrinter.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedUi.h"

#include <memory>
#include <string>
#include <vector>

namespace quillan::test {

// A scratch program folder with its own tables/ (copied from a fixture folder) and the
// scripted platform: a fresh, isolated context for each test.
class TestEnvironment {
public:
    // tablesFrom: a folder of *.dat files to copy; empty for the shipped tables.
    explicit TestEnvironment(const std::string& tablesFrom = {},
                             std::vector<std::string> parameters = {});
    ~TestEnvironment();

    platform::ScriptedUi ui;
    platform::RecordingPrinter printer;
    platform::RecordingHelp help;
    platform::RecordingShell shell;
    platform::ConfigStore config;
    // The program's notices over the scripted interface: every box is recorded there.
    UiNotices notices{ui};

    const std::string& folder() const { return folder_; }
    const std::string& tablesFolder() const { return tables_; }
    AppContext& context() { return *context_; }

    // Loads the data folder into the context (LoadDataFiles).
    void load();

    // The statement forms the build drew, copied into the program folder's bitmaps/, where
    // the program looks for them; a test may take one away.
    void copyStatementForms() const;

    void writeTable(const std::string& name, const std::string& bytes) const;
    std::string readTable(const std::string& name) const;
    void removeTable(const std::string& name) const;

private:
    std::string folder_;
    std::string tables_;
    std::unique_ptr<AppContext> context_;
};

std::string fixturePath(const std::string& relative);
std::string geographyFolder();
// What a test's helper command (a reference reader such as pdftotext or dbfread) prints on
// its standard output.
std::string runCommand(const std::string& command);

// The contents of a file that another process writes and renames into place once complete.
// However busy the machine, the wait goes on; only after ten minutes, the sign of a hang,
// it gives up, with a test failure that says so, and returns nothing.
std::string waitForFile(const std::string& path);

// A folder under the build tree for artefacts a person may want to look at.
std::string artefactFolder();

} // namespace quillan::test
