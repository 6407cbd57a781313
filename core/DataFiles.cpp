#include "core/DataFiles.h"

#include "platform/fs/AtomicFile.h"
#include "platform/ui/Form.h"

namespace quillan {

const char* const DataMissingMessage =
    "The directories probably were not created properly when you unzipped the quillan.zip "
    "file. Quillan will close. Please read the QLREADME.txt file.";

static void loadFiles(AppContext& ctx, const std::vector<DataFile>& files) {
    for (const DataFile& file : files)
        (ctx.lists.*file.list).loadFromFile(ctx.dataFile(file.fileName));
}

// The after-sort print choices (lines 6 to 9) and the last list folder (line 10) came
// later than the first prefs.dat; an older file is brought up to date once.
static void padPrefs(AppContext& ctx) {
    SettingsList& prefs = ctx.lists.PrefsList;
    bool added = false;
    if (prefs.count() < 10) {
        while (prefs.count() < 10)
            prefs.add("");
        for (long line = 6; line <= 9; ++line)
            prefs[line] = "t";
        added = true;
    }
    while (prefs.count() < 11) {
        prefs.add("");
        added = true;
    }
    if (added)
        ctx.saveList(prefs, "prefs.dat");
}

void LoadDataFiles(AppContext& ctx) {
    using namespace platform;
    if (!fileExists(ctx.dataFile("tdchrt.dat"))) {
        ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Cancel, DataMissingMessage);
        ctx.flags.DataMissing = true;
        return;
    }
    ctx.lists = SettingsLists{};
    loadFiles(ctx, postalAndEarlySettingsFiles());
    padPrefs(ctx);
    loadFiles(ctx, lateSettingsFiles());
    ctx.tables.seed(true);
    ctx.listsLoaded = true;
}

void FreeDataLists(AppContext& ctx) {
    ctx.lists = SettingsLists{};
    ctx.tables.clear();
    ctx.listsLoaded = false;
}

void ResetWorkLists(AppContext& ctx) {
    ctx.tables.seed(false);
    if (ctx.mainWindow) {
        for (const char* name : {"Image1", "Image2", "Stckr", "TopLabel", "BottomLabel"})
            if (platform::Control* control = ctx.mainWindow->find(name))
                control->setVisible(false);
    }
    ctx.platform.ui.setBusyCursor(false);
}

} // namespace quillan
