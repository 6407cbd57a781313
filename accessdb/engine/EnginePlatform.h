#pragma once

#include <functional>
#include <string>

namespace platform {
class Registry;
}

namespace accessdb {

// The platform services the engine uses, set once by the program (and by tests). Without a
// registry the engine keeps one in memory, which knows only the DAO engine's class key.
struct EnginePlatform {
    platform::Registry* registry = nullptr;
    // Lets the user interface handle its pending messages during long walks.
    std::function<void()> processMessages;
    // The network user name; empty when the platform cannot tell.
    std::function<std::string()> userName;
};

EnginePlatform& enginePlatform();
platform::Registry& engineRegistry();
void engineProcessMessages();
std::string networkUserName();

} // namespace accessdb
