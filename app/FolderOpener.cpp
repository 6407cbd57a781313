#include "app/FolderOpener.h"

namespace quillan {

namespace {

constexpr const char* Opener = "xdg-open";

} // namespace

FolderOpener::FolderOpener(AppContext& ctx)
    : ctx_(ctx), watch_(ctx.platform.ui, CheckMs, [this] { checkOpener(); }) {}

void FolderOpener::open(const std::string& folder) {
    folder_ = folder;
    opener_ = ctx_.platform.shell.start(Opener, {folder});
    if (!opener_) {
        tellCannotOpen("no program that opens folders (xdg-open) was found on this computer");
        return;
    }
    checksLeft_ = WatchMs / CheckMs;
    watch_.setEnabled(true);
}

void FolderOpener::checkOpener() {
    std::optional<int> status = opener_ ? opener_->exitStatus() : std::nullopt;
    if (!status && --checksLeft_ > 0)
        return;
    watch_.setEnabled(false);
    opener_.reset();
    int exitStatus = status.value_or(0);
    if (exitStatus != 0)
        tellCannotOpen("xdg-open found no program to open it (it ended with status " +
                       std::to_string(exitStatus) + ")");
}

void FolderOpener::tellCannotOpen(const std::string& why) {
    ctx_.message(platform::BeepKind::Exclamation, platform::MessageKind::Warning,
                 platform::MessageButtons::Ok,
                 "Quillan cannot open the folder " + folder_ + ": " + why +
                     ". Open it with your file manager.");
}

} // namespace quillan
