#pragma once

#include <exception>
#include <functional>
#include <string>

namespace accessdb {

// What the components ask of the user interface; the program wires these to its windows and
// tests script them. Without a hook the components behave as if nobody answered: no login,
// no password, exceptions reported nowhere.
struct ComponentPlatform {
    // The hourglass while the engine starts (true shows it, false restores the cursor).
    std::function<void(bool busy)> busyCursor;
    // Asks for user name and password; false when cancelled.
    std::function<bool(const std::string& databaseName, std::string& userName,
                       std::string& password)>
        loginDialog;
    // Asks for a password to add to the session; false when cancelled.
    std::function<bool()> passwordDialog;
    // The application's exception handler.
    std::function<void(const std::exception&)> showException;
};

ComponentPlatform& componentPlatform();

} // namespace accessdb
