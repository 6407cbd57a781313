#pragma once

#include "app/AppContext.h"
#include "platform/shell/ChildProgram.h"
#include "platform/ui/Timer.h"

#include <memory>
#include <string>

namespace quillan {

// Opens a folder in the desktop's file manager through xdg-open (looked for on the PATH).
// When nothing can open it, the person is told so, with the folder named so that it can be
// found by hand: at once when there is no xdg-open, and when xdg-open ends within a few
// seconds without having opened it (it found no program for folders). A file manager that
// opens keeps running long after; it is not waited for.
class FolderOpener {
public:
    explicit FolderOpener(AppContext& ctx);
    void open(const std::string& folder);

    // How long xdg-open is watched for a failure, in checks a quarter second apart.
    static constexpr int WatchChecks = 20;

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
