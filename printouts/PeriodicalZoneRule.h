#pragma once

#include "core/SortedMailing.h"

namespace quillan {

// Where the outside-county pieces of a Periodicals mailing are priced: within the entry SCF,
// within the entry ADC (AADC for automation letters), or by their distance zone from the
// zone chart. The postage statement's rule, seen from the entry office of the mailer
// settings: local entry never counts SCF or ADC; entry at an SCF whose name is also the
// entry ADC's counts both.
struct PeriodicalZone {
    enum class Kind { Scf, Adc, Zone, Unknown };
    Kind kind = Kind::Unknown;
    int zone = 0; // 1 to 8 for Kind::Zone
};

class PeriodicalZoneRule {
public:
    // Throws ConvertError when the mailer's ZIP does not begin with three digits.
    explicit PeriodicalZoneRule(const SortedMailing& mailing);

    // The zone of the pieces of a 3-digit ZIP prefix. A prefix the charts do not hold, or
    // whose zone is not 1 to 8, is Unknown.
    PeriodicalZone classify(int prefix) const;

private:
    const SettingsList& adcChart() const;
    const SettingsList& adcLabels() const;

    const SortedMailing& mailing_;
    bool scfEntry_ = false;
    bool adcEntry_ = false;
    int entryPrefix_ = 0;
};

} // namespace quillan
