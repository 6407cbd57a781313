#pragma once

namespace platform {

// Modal results, numbered as the dialogs of the original desktop platform numbered them,
// because the program stores and compares them as integers.
enum class ModalResult : int {
    None = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
};

enum class MessageKind { Warning, Error, Information, Confirmation };

enum class MessageButtons { Ok, Cancel, OkCancel, OkNo, YesNo, YesNoCancel };

enum class BeepKind { Default, Hand, Asterisk, Exclamation, Question };

const char* toString(MessageKind kind);
const char* toString(MessageButtons buttons);
const char* toString(BeepKind kind);
const char* toString(ModalResult result);

// The button a box answers with when nobody can press one (unattended runs).
ModalResult defaultButton(MessageButtons buttons);

} // namespace platform
