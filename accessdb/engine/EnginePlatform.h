#pragma once

#include <functional>
#include <string>

namespace platform {
class Registry;
}

namespace accessdb {

class TBapiListItem;

// The platform services the engine uses, given to the engine object when it is made
// (TVirtEng); every session, database and cursor under it uses its engine's. What is left
// out takes its default: a registry kept in memory, which knows only the DAO engine's
// class key; no pause for the user interface; the platform's network user name.
struct EnginePlatform {
    platform::Registry* registry = nullptr;
    // Lets the user interface handle its pending messages during long walks.
    std::function<void()> processMessages{};
    // The network user name; empty when the platform cannot tell.
    std::function<std::string()> userName{};
};

// The services of the engine `item` belongs to (the defaults for an item of no engine).
platform::Registry& engineRegistry(const TBapiListItem& item);
void engineProcessMessages(const TBapiListItem& item);
std::string networkUserName(const TBapiListItem& item);

} // namespace accessdb
