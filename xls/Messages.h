#pragma once

#include <functional>
#include <string>

namespace xls {

// A few misuses of property setters are told to the user in a message box and leave the value
// unchanged. The library has no window of its own: whoever makes a workbook passes the
// handler that shows its messages to a person; without one they are dropped.
using MessageHandler = std::function<void(const std::string& message)>;

} // namespace xls
