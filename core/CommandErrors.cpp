#include "core/CommandErrors.h"

#include "core/Convert.h"
#include "core/SettingsList.h"

namespace quillan {

static std::string describeListError(const std::string& dataFolder, const ListIndexError& error) {
    if (error.fileName().empty())
        return error.what();
    std::string name = error.fileName();
    if (name.rfind(dataFolder, 0) == 0)
        name = name.substr(dataFolder.size());
    return "Quillan's own file " + name + " is damaged: it has no line " +
           std::to_string(error.index()) + ". Put back the file as it came with Quillan.";
}

bool runGuarded(Notices& notices, const std::string& dataFolder,
                const std::function<void()>& command) {
    using namespace platform;
    std::string failure;
    try {
        command();
        return true;
    } catch (const ListIndexError& e) {
        failure = describeListError(dataFolder, e);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    notices.tell({BeepKind::Hand, MessageKind::Error, MessageButtons::Ok, failure});
    return false;
}

} // namespace quillan
