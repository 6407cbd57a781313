#include "platform/prompts/MessageBox.h"

namespace platform {

const char* toString(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return "Warning";
    case MessageKind::Error:
        return "Error";
    case MessageKind::Information:
        return "Information";
    case MessageKind::Confirmation:
        return "Confirmation";
    }
    return "?";
}

const char* toString(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return "OK";
    case MessageButtons::Cancel:
        return "Cancel";
    case MessageButtons::OkCancel:
        return "OK/Cancel";
    case MessageButtons::OkNo:
        return "OK/No";
    case MessageButtons::YesNo:
        return "Yes/No";
    case MessageButtons::YesNoCancel:
        return "Yes/No/Cancel";
    }
    return "?";
}

const char* toString(BeepKind kind) {
    switch (kind) {
    case BeepKind::Default:
        return "Default";
    case BeepKind::Hand:
        return "Hand";
    case BeepKind::Asterisk:
        return "Asterisk";
    case BeepKind::Exclamation:
        return "Exclamation";
    case BeepKind::Question:
        return "Question";
    }
    return "?";
}

const char* toString(ModalResult result) {
    switch (result) {
    case ModalResult::None:
        return "None";
    case ModalResult::Ok:
        return "OK";
    case ModalResult::Cancel:
        return "Cancel";
    case ModalResult::Abort:
        return "Abort";
    case ModalResult::Retry:
        return "Retry";
    case ModalResult::Ignore:
        return "Ignore";
    case ModalResult::Yes:
        return "Yes";
    case ModalResult::No:
        return "No";
    }
    return "?";
}

ModalResult defaultButton(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel:
    case MessageButtons::OkNo:
        return ModalResult::Ok;
    case MessageButtons::Cancel:
        return ModalResult::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
        return ModalResult::Yes;
    }
    return ModalResult::Cancel;
}

} // namespace platform
