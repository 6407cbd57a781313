#pragma once

namespace platform {

// A request from outside to stop a run: an interrupt (Ctrl+C) or a termination signal sent
// by the program that started it. Once caught, the run stops at its next safe point (never
// in the middle of writing a file) instead of dying wherever it is; a second signal ends
// the process at once, except while a file is being put in place (WriteInProgress), which
// it lets finish first.
void catchInterruptions();
bool interruptionRequested();
// Raises or clears the request as a caught signal would; for tests.
void setInterruptionRequested(bool requested);

// While one lives, a second interrupt or termination signal waits: the file being put in
// place is finished (or put back) before the process ends, so no signal leaves it half
// written.
class WriteInProgress {
public:
    WriteInProgress();
    ~WriteInProgress();
    WriteInProgress(const WriteInProgress&) = delete;
    WriteInProgress& operator=(const WriteInProgress&) = delete;
};

} // namespace platform
