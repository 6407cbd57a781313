#include "app/ListFileChoice.h"

#include "app/HelpTopics.h"
#include "listio/ListFormat.h"

namespace quillan {

namespace {

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

std::string ChooseListFile(AppContext& ctx, ListPurpose purpose) {
    if (ctx.parameterCount() > 0)
        return ctx.parameter(1);
    Preferences& prefs = ctx.lists.prefsList;
    platform::FileDialogOptions options;
    options.title = purpose == ListPurpose::Sort ? "Find the mailing list you wish to sort"
                                                 : "Find the mailing list you wish to verify";
    if (!prefs.lastList().empty())
        options.initialFolder = folderOf(prefs.lastList());
    options.fileName = "*.*";
    options.filters = mailingListFilters();
    options.help = [&ctx] { showHelpTopic(ctx, HelpTopic::ListChoice); };
    std::string path = ctx.platform.ui.openFileDialog(options).value_or("");
    if (path == "*.*")
        return {};
    if (!path.empty() && path != prefs.lastList()) {
        prefs.setLastList(path);
        ctx.saveList(prefs, Preferences::FileName);
    }
    return path;
}

} // namespace quillan
