#include "app/DataFiles.h"

#include "platform/fs/AtomicFile.h"

namespace quillan {

const char* const DataMissingMessage =
    "The directories probably were not created properly when you unzipped the quillan.zip "
    "file. Quillan will close. Please read the QLREADME.txt file.";

static void loadFiles(AppContext& ctx, const std::vector<DataFile>& files) {
    for (const DataFile& file : files)
        file.list(ctx.lists).loadFromFile(ctx.dataFile(file.fileName));
}

// An older prefs.dat is brought up to date once.
static void padPrefs(AppContext& ctx) {
    if (ctx.lists.prefsList.addMissingLines())
        ctx.saveList(ctx.lists.prefsList, Preferences::FileName);
}

void LoadDataFiles(AppContext& ctx) {
    using namespace platform;
    if (!fileExists(ctx.dataFile("tdchrt.dat"))) {
        ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Cancel, DataMissingMessage);
        ctx.flags.dataMissing = true;
        return;
    }
    ctx.lists = SettingsLists{};
    loadFiles(ctx, postalAndEarlySettingsFiles());
    padPrefs(ctx);
    loadFiles(ctx, lateSettingsFiles());
    ctx.listsLoaded = true;
}

void FreeDataLists(AppContext& ctx) {
    ctx.lists = SettingsLists{};
    ctx.listsLoaded = false;
}

void ResetWorkLists(AppContext& ctx) {
    ctx.progress().hide();
}

} // namespace quillan
