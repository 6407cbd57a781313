#pragma once

#include <string>
#include <vector>

namespace quillan {

// How the program was started: parameter 2 of the command line, read without regard to case.
enum class RunMode {
    Attended,   // anything else: the main window waits for a person
    Partner,    // "DUZIZ": the partner program has the Sort Wizard run at once (without its
                // preferences page), and the program ends after it
    Unattended, // "NOSTOP": the list is sorted at once, printed without asking, and the
                // program ends, its exit status telling the outcome
};

// The one reading of the run mode from the command-line parameters (1-based as the program
// numbers them: parameters[1] is parameter 2).
RunMode runModeOf(const std::vector<std::string>& parameters);

} // namespace quillan
