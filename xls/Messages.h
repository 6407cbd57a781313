#pragma once

#include <functional>
#include <string>

namespace platform {
class Ui;
}

namespace xls {

// A few misuses of property setters are told to the user in a message box and leave the value
// unchanged. The library has no window of its own: the program routes the messages (the
// handler is process-wide); without a handler they are dropped.
using MessageHandler = std::function<void(const std::string& message)>;

void setMessageHandler(MessageHandler handler);
// A handler that shows each message in the platform's message box (the scripted platform
// records it; an unattended run answers it without waiting).
MessageHandler messageBoxHandler(platform::Ui& ui);
void showMessage(const std::string& message);

} // namespace xls
