#pragma once

#include <stdexcept>

namespace quillan {

// A presort that cannot be run or finished as asked; the message is the one the user sees.
class PresortError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace quillan
