#pragma once

#include "core/SettingsList.h"

#include <cstdint>
#include <string>

namespace quillan {

// per.dat: the Periodicals settings. The only place that knows the file's lines.
class PeriodicalSettings : public SettingsList {
public:
    static constexpr const char* FileName = "per.dat";
    enum Line : long {
        Frequency = 1, // "0" once a week or more often, "1" less often
        AdvertisingPercent = 2,
        RateCategory = 3,     // "0" Regular, "1" Classroom, "2" Nonprofit, "3" Agriculture
        InCounty = 4,         // "t" or "f": in-county rates
        County = 5,           // compared with the list's county field
        ContainerMinimum = 6, // "6" or "24": pieces of a tray or sack of its own
    };

    PeriodicalSettings() = default;
    explicit PeriodicalSettings(SettingsList lines) : SettingsList(std::move(lines)) {}

    bool weeklyOrMore() const { return at(Frequency) == "0"; }
    // An empty line is no advertising, as the statement shows it ("00.00").
    double advertisingPercent() const {
        return at(AdvertisingPercent).empty() ? 0.0 : decimalAt(AdvertisingPercent);
    }
    int32_t rateCategory() const { return numberAt(RateCategory); }
    // Classroom and Nonprofit publications: up to 10 % advertising pays no advertising
    // pound rates, and their outside-county postage is reduced by 5 %.
    bool classroomOrNonprofit() const { return at(RateCategory) == "1" || at(RateCategory) == "2"; }
    bool agricultureRates() const { return at(RateCategory) == "3"; }
    bool inCountyRates() const { return at(InCounty) == "t"; }
    // Stored the way the check box stores it, so that every reader of the line agrees.
    void setInCountyRates(bool inCounty) { set(InCounty, inCounty ? "t" : "f"); }
    const std::string& county() const { return at(County); }
    int32_t containerMinimum() const { return numberAt(ContainerMinimum); }
};

} // namespace quillan
