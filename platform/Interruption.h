#pragma once

namespace platform {

// A request from outside to stop a run: an interrupt (Ctrl+C) or a termination signal sent
// by the program that started it. Once caught, the run stops at its next safe point (never
// in the middle of writing a file) instead of dying wherever it is; a second signal ends
// the process at once.
void catchInterruptions();
bool interruptionRequested();
// Raises or clears the request as a caught signal would; for tests.
void setInterruptionRequested(bool requested);

} // namespace platform
