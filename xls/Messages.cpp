#include "xls/Messages.h"

#include "platform/ui/Ui.h"

namespace xls {

namespace {
MessageHandler handler;
}

void setMessageHandler(MessageHandler newHandler) {
    handler = std::move(newHandler);
}

void showMessage(const std::string& message) {
    if (handler)
        handler(message);
}

MessageHandler messageBoxHandler(platform::Ui& ui) {
    return [&ui](const std::string& message) {
        ui.messageBox(platform::MessageKind::Information, platform::MessageButtons::Ok, message);
    };
}

} // namespace xls
