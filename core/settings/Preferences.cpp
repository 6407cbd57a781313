#include "core/settings/Preferences.h"

namespace quillan {

namespace {

constexpr long ReportsBeforeLastList = Preferences::LastList - Preferences::FirstReport;

} // namespace

long Preferences::lineOf(AfterSortReport report) {
    const long index = static_cast<long>(report);
    if (index < ReportsBeforeLastList)
        return FirstReport + index;
    return LastList + 1 + index - ReportsBeforeLastList;
}

bool Preferences::addMissingLines() {
    bool added = false;
    if (count() < LastList) {
        while (count() < LastList)
            add("");
        for (AfterSortReport report : AfterSortReports)
            if (lineOf(report) < LastList)
                setPrintsAfterSort(report, true);
        added = true;
    }
    while (count() <= LastList) {
        add("");
        added = true;
    }
    for (AfterSortReport report : AfterSortReports) {
        if (lineOf(report) < count())
            continue;
        while (count() <= lineOf(report))
            add("");
        setPrintsAfterSort(report, true);
        added = true;
    }
    return added;
}

} // namespace quillan
