#pragma once

#include <string>

namespace platform {

// The name the current user is known by on the network: the account's login name, else
// $USER; empty when neither is known.
std::string networkUserName();

} // namespace platform
