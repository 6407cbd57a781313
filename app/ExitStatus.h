#pragma once

namespace quillan {

// How a run started from the command line ends, as its exit status tells the program that
// started it. The README lists them; the numbers are part of that promise.
enum class ExitStatus : int {
    // The sort finished and its information was written (or the preferences ask for
    // printouts only).
    Sorted = 0,
    // Quillan's own files are missing or damaged, or it failed in a way it could not
    // foresee; a message said what.
    ProgramFailure = 1,
    // The list was refused: not a file Quillan can read, no records or too many, its ZIP
    // field not found, a table shorter than it says, or a mailing its class cannot take.
    // Nothing was sorted or written.
    ListRefused = 2,
    // The sort information, or the sort result, could not be written; the list is as it
    // was (a message says where a complete copy is, should it not be).
    NotWritten = 3,
    // Someone answered a question with Cancel, or left the wizard.
    Cancelled = 4,
    // The list was sorted and its information written (or the preferences ask for
    // printouts only), but one or more printouts failed; each said why.
    PrintoutsFailed = 5,
};

inline int exitCode(ExitStatus status) {
    return static_cast<int>(status);
}

} // namespace quillan
