#pragma once

#include "core/SettingsList.h"

#include <array>
#include <string>

namespace quillan {

// The reports a sort can be followed by, in the order they print. Each has its line in
// prefs.dat; the program offers each through one entry of its table (app/AfterSortReports).
enum class AfterSortReport { Statement, Instructions, Qualification, Tags };
inline constexpr std::array<AfterSortReport, 4> AfterSortReports{
    AfterSortReport::Statement, AfterSortReport::Instructions, AfterSortReport::Qualification,
    AfterSortReport::Tags};

// prefs.dat: the user's preferences, the reports last chosen after a sort and the last list
// opened. The only place that knows the file's lines.
class Preferences : public SettingsList {
public:
    static constexpr const char* FileName = "prefs.dat";
    enum Line : long {
        RejectListing = 1,     // "0" prints the rejected ZIP codes
        Output = 2,            // "0" into the list, "1" a separate file, "2" printouts only
        SeparateFileName = 3,  // "0" the standard name, "1" ask
        SeparateFormat = 4,    // "0" comma-delimited, "1" tab-delimited
        RejectWithoutZip4 = 5, // "0" automation pieces without ZIP+4 are rejected, "1" not
        FirstReport = 6,       // 6 to 9: "t" or "f" for the first four after-sort reports
        LastList = 10,         // the path of the list last chosen; later reports follow it
    };

    // The line of a report's "t" or "f": the first four on lines 6 to 9, any later one on
    // the lines after the last list, 11 on.
    static long lineOf(AfterSortReport report);

    Preferences() = default;
    explicit Preferences(SettingsList lines) : SettingsList(std::move(lines)) {}

    // Brings a file of an older release up to date: the report choices (all "t") and the
    // last list came later, and a report added since gets its line ticked. True when lines
    // were added.
    bool addMissingLines();

    bool printsRejectListing() const { return at(RejectListing) == "0"; }
    bool writesIntoList() const { return at(Output) == "0"; }
    bool writesSeparateFile() const { return at(Output) == "1"; }
    bool printsOnly() const { return at(Output) == "2"; }
    bool asksSeparateFileName() const { return at(SeparateFileName) == "1"; }
    bool commaSeparateFile() const { return at(SeparateFormat) == "0"; }
    bool rejectsMissingZip4() const { return at(RejectWithoutZip4) != "1"; }

    bool printsAfterSort(AfterSortReport report) const { return at(lineOf(report)) == "t"; }
    void setPrintsAfterSort(AfterSortReport report, bool prints) {
        set(lineOf(report), prints ? "t" : "f");
    }

    const std::string& lastList() const { return at(LastList); }
    void setLastList(std::string path) { set(LastList, std::move(path)); }
};

} // namespace quillan
