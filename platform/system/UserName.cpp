#include "platform/system/UserName.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

std::string networkUserName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name)
        return entry->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

} // namespace platform
