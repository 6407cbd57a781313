#include "app/AppContext.h"

namespace quillan {

namespace {

NoProgress noProgress;
NoNotices noNotices;

} // namespace

AppContext::AppContext(platform::Platform platform, platform::ProgramPaths paths,
                       std::vector<std::string> parameters)
    : platform(platform), paths(std::move(paths)), parameters(std::move(parameters)),
      runMode(runModeOf(this->parameters)), progress_(&noProgress), notices_(&noNotices) {
    dataFolder = this->paths.dataFolder;
}

void AppContext::resetProgress() {
    progress_ = &noProgress;
}

std::string AppContext::parameter(size_t n) const {
    return n >= 1 && n <= parameters.size() ? parameters[n - 1] : std::string();
}

void AppContext::saveList(const SettingsList& list, const std::string& fileName) const {
    list.saveToFile(dataFile(fileName));
}

platform::ModalResult AppContext::message(platform::BeepKind beep, platform::MessageKind kind,
                                          platform::MessageButtons buttons,
                                          const std::string& text) {
    return notices_->tell({beep, kind, buttons, text});
}

} // namespace quillan
