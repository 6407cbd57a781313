#include "xls/Messages.h"

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

} // namespace xls
