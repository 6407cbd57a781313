#pragma once

#include "core/MailClass.h"
#include "core/SortedMailing.h"
#include "core/settings/SettingsLists.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillan {

// Where Periodicals are entered, told from the mailer's entry type and the charts: at the
// local post office, at an SCF, at an ADC (AADC for automation letters), or at an SCF that
// is also the ADC ("combined").
enum class PeriodicalEntryKind { Local, Scf, Adc, Combined };

// Where the outside-county pieces of a 3-digit ZIP prefix are delivered, seen from the
// entry office: within its SCF, within its ADC, in a zone from 1 to 8, or nowhere the
// zone chart knows (a zone outside 1 to 8, or a chart line that is not a number).
struct ZoneDestination {
    enum Kind { Scf, Adc, Zone, Unzoned };
    Kind kind = Unzoned;
    int zone = 0; // 1 to 8 for Zone

    friend bool operator==(const ZoneDestination&, const ZoneDestination&) = default;
};

// Pieces counted by destination: in-county, entry SCF, entry ADC and zones 1 to 8, with
// which of them were met. The qualification report adds the counts of its groups into
// one total of its own.
struct PeriodicalZoneCounts {
    int32_t inCounty = 0;
    int32_t scf = 0;
    int32_t adc = 0;
    std::array<int32_t, 9> zones{}; // zones[1] to zones[8]
    // Pieces in no category, and the ZIP Codes of the groups they came from.
    int32_t unzoned = 0;
    std::vector<int32_t> unzonedZips;

    bool inCountySeen = false;
    bool scfMet = false;
    bool adcMet = false;
    std::array<bool, 9> zoneMet{};

    // "IC", "SCF", "ADC", "1-2", then "3" to "8", for the categories met, joined by "/".
    std::string summary() const;
    // Every piece counted in a category (the unzoned ones are not).
    int32_t total() const;
    PeriodicalZoneCounts& operator+=(const PeriodicalZoneCounts& other);
};

// The one rule that sorts a Periodicals mailing's pieces by destination; the statement's
// zone table, the qualification and zone reports, the preparation instructions and the
// PAVE records all classify with it.
class PeriodicalZoneClassifier {
public:
    PeriodicalZoneClassifier(MailClass mailClass, const MailerSettings& mailer,
                             const PeriodicalSettings& periodical, const PostalLists& postal);
    explicit PeriodicalZoneClassifier(const SortedMailing& mailing);

    PeriodicalEntryKind entryKind() const { return kind_; }
    ZoneDestination destinationOf(int prefix) const;
    // The pieces of a ZIP group that pay in-county rates: none unless the mailing claims
    // them.
    int32_t inCountyPieces(const ZipGroup& group) const;
    // Adds a ZIP group's pieces: its in-county pieces, then the others by destination.
    void classify(const ZipGroup& group, PeriodicalZoneCounts& counts) const;

private:
    PeriodicalEntryKind entryKindOf(const MailerSettings& mailer);

    const SettingsList& scfChart_;
    const SettingsList& adcChart_; // the AADC chart for automation letters
    const SettingsList& zoneChart_;
    const PostalLists& postal_;
    bool automationLetters_;
    bool inCountyRates_;
    PeriodicalEntryKind kind_ = PeriodicalEntryKind::Local;
    int entryPrefix_ = 0;
};

// The pieces of every ZIP group, and of the ZIP groups of sort group g, by destination.
PeriodicalZoneCounts classifyZoneCounts(const SortedMailing& mailing);
PeriodicalZoneCounts classifyZoneCounts(const SortedMailing& mailing, size_t g);

} // namespace quillan
