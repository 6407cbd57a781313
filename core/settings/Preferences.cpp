#include "core/settings/Preferences.h"

namespace quillan {

bool Preferences::addMissingLines() {
    bool added = false;
    if (count() < LastList) {
        while (count() < LastList)
            add("");
        for (AfterSortReport report : AfterSortReports)
            setPrintsAfterSort(report, true);
        added = true;
    }
    while (count() <= LastList) {
        add("");
        added = true;
    }
    return added;
}

} // namespace quillan
