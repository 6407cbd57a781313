#pragma once

#include "core/SettingsList.h"

#include <string>

namespace quillan {

// mailer.dat: the mailer and the post office where the mail is entered. The only place
// that knows the file's lines.
class MailerSettings : public SettingsList {
public:
    static constexpr const char* FileName = "mailer.dat";
    enum Line : long {
        City = 1, // of the entry post office
        State = 2,
        Zip = 3,       // five digits
        EntryType = 4, // "0" local, "1" SCF, "2" BMC or ADC
        Company = 5,
        PermitId = 6,
        PublicationName = 7, // Periodicals
    };

    MailerSettings() = default;
    explicit MailerSettings(SettingsList lines) : SettingsList(std::move(lines)) {}

    const std::string& city() const { return at(City); }
    const std::string& state() const { return at(State); }
    const std::string& zip() const { return at(Zip); }
    // The first three digits of the ZIP as a number; SettingsLineError, naming the file and
    // its line, when they are not digits.
    int zipPrefix() const;
    bool entersLocally() const { return at(EntryType) == "0"; }
    bool entersAtScf() const { return at(EntryType) == "1"; }
    bool entersAtBmc() const { return at(EntryType) == "2"; }
};

} // namespace quillan
