#pragma once

#include "app/AppContext.h"
#include "platform/shell/ChildProgram.h"
#include "platform/ui/Timer.h"

#include <memory>
#include <string>

namespace quillan {

// Opens a folder in the desktop's file manager through xdg-open (looked for on the PATH).
// When nothing can open it, the person is told so, with the folder named so that it can be
// found by hand: at once when there is no xdg-open, and when xdg-open ends without having
// opened it (it found no program for folders) while the person who clicked would still
// wonder where the folder is: on a busy computer that takes well over five seconds. A file
// manager that opens may keep xdg-open running long after; that is no failure, and it is
// not waited for beyond the watch. A second click watches only the opener it started.
class FolderOpener {
public:
    explicit FolderOpener(AppContext& ctx);
    void open(const std::string& folder);

    // How long xdg-open is watched for a failure, and how often it is looked at meanwhile.
    static constexpr int WatchMs = 30000;
    static constexpr int CheckMs = 250;

private:
    void checkOpener();
    void tellCannotOpen(const std::string& why);

    AppContext& ctx_;
    platform::Timer watch_;
    std::shared_ptr<platform::ChildProgram> opener_;
    std::string folder_;
    int checksLeft_ = 0;
};

} // namespace quillan
