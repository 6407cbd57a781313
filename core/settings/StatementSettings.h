#pragma once

#include "core/SettingsList.h"

#include <cstdint>
#include <string>

namespace quillan {

// statement.dat: what the postage statement says of the permit holder and the payment.
// The only place that knows the file's lines.
class StatementSettings : public SettingsList {
public:
    static constexpr const char* FileName = "statement.dat";
    enum Line : long {
        HolderLine1 = 1, // name and address of the permit holder, three lines
        HolderLine2 = 2,
        HolderLine3 = 3,
        HolderPhone = 4,
        PostOffice = 5, // where the mail is submitted
        Payment = 6,    // "0" permit imprint, "1" meter, "2" stamps
        PermitNumber = 7,
        Affixed = 8,   // "0" correct postage on each piece, "1" the lowest rate
        CassMonth = 9, // two characters each
        CassDay = 10,
        CassYear = 11,
        SignerName = 12,
        SignerPhone = 13,
    };

    StatementSettings() = default;
    explicit StatementSettings(SettingsList lines) : SettingsList(std::move(lines)) {}

    bool permitImprint() const { return at(Payment) == "0"; }
    int32_t payment() const { return numberAt(Payment); }
    int32_t affixed() const { return numberAt(Affixed); }
    // Meter or stamps: the correct postage on each piece, rather than the lowest rate.
    bool correctPostageAffixed() const { return at(Affixed) == "0"; }
};

} // namespace quillan
