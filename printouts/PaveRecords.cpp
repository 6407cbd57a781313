#include "printouts/PaveRecords.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"
#include "core/postage/PeriodicalZoneClassifier.h"
#include "printouts/ContainerTag.h"
#include "printouts/PackageDescription.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace quillan {

namespace {

// Columns of the record, 0-based offsets and widths.
struct Field {
    size_t at;
    size_t width;
};
constexpr Field ContainerNumber{0, 6}, ListCode{6, 5}, Destination{11, 43}, ContainerType{54, 1},
    LevelCode{56, 4}, DestinationZip{60, 5}, Content{65, 5}, ContentLine{70, 30}, Package{100, 15},
    RateLevel{115, 7}, Zone{122, 3}, Entry{125, 1}, ClassCode{126, 2}, Endorsement{128, 30},
    Sequence{160, 7};

void put(std::string& record, Field field, std::string_view text) {
    std::string value(text.substr(0, field.width));
    value.resize(field.width, ' ');
    record.replace(field.at, field.width, value);
}

const char* paveClassCode(MailClass mailClass) {
    switch (mailClass.value()) {
    case MailClass::RNML:
        return "AH";
    case MailClass::RML:
        return "AI";
    case MailClass::RAL:
        return "AG";
    case MailClass::RNAF:
        return "AK";
    case MailClass::RAF:
        return "AJ";
    case MailClass::FAL:
        return "AA";
    case MailClass::PNAL:
        return "AQ";
    case MailClass::PAL:
        return "AP";
    case MailClass::PNAF:
        return "AS";
    case MailClass::PAF:
        return "AR";
    case MailClass::RCOF:
        return "BE";
    case MailClass::PCOF:
        return "BG";
    case MailClass::None:
        break;
    }
    return "  ";
}

const char* entryLetter(EntryDiscount entry) {
    switch (entry) {
    case EntryDiscount::None:
        return "N";
    case EntryDiscount::Dscf:
        return "S";
    case EntryDiscount::Dbmc:
        break;
    }
    return "B";
}

// The rate level a container's pieces claim, from its level; none for a mixed one, whose
// packages claim their own.
std::string containerRateLevel(MailClass mailClass, ContainerLevel level) {
    MailClass::Code code = mailClass.value();
    bool periodicalsNonautomation = mailClass.isPeriodicals() && mailClass.isNonautomation();
    switch (level) {
    case ContainerLevel::ThreeFiveDigit:
        return code == MailClass::RAF ? "3/5B" : "3/5";
    case ContainerLevel::FiveDigit:
        return periodicalsNonautomation ? "5D" : "5B";
    case ContainerLevel::ThreeDigit:
        return periodicalsNonautomation ? "3D" : "3B";
    case ContainerLevel::Aadc:
        return code == MailClass::PAL ? "BB" : "AB";
    case ContainerLevel::MixedAadc:
        return "MB";
    case ContainerLevel::Basic:
        return mailClass.isAutomation() && !mailClass.isAadcAutomationLetters() ? "BB" : "BS";
    case ContainerLevel::Mixed:
        break;
    }
    return "";
}

std::string containerPart(const SortedMailing& mailing, size_t k) {
    ContainerTag tag = DescribeContainer(mailing, k);
    const Container& container = mailing.containers()[k];
    std::string record(PaveRecordLength, ' ');
    put(record, ContainerNumber, zeroPad(static_cast<int64_t>(k) + 1, 6));
    put(record, ListCode, tag.listCode);
    std::string destination = tag.destinationLine + " " + tag.zipText;
    if (!tag.extraLine.empty())
        destination += " " + tag.extraLine;
    put(record, Destination, destination);
    put(record, ContainerType, std::string(1, tag.containerType));
    put(record, LevelCode, tag.levelCode);
    put(record, DestinationZip, tag.zipText);
    put(record, Content, tag.tagCode.size() > 5 ? tag.tagCode.substr(5) : std::string());
    put(record, ContentLine, tag.contentLine);
    put(record, RateLevel, containerRateLevel(mailing.mailClass(), container.level));
    put(record, Entry, entryLetter(container.entry));
    put(record, ClassCode, paveClassCode(mailing.mailClass()));
    return record;
}

bool isFiveOrThreeDigit(GroupKind kind) {
    return kind == GroupKind::FiveDigit || kind == GroupKind::ThreeDigit;
}

std::string digitLevel(GroupKind kind, const char* other) {
    if (kind == GroupKind::FiveDigit)
        return "5B";
    return kind == GroupKind::ThreeDigit ? "3B" : other;
}

// Co-sacked Standard flats without ZIP+4 claim the 3/5 rate in a container of at least 125
// pieces, fewer when heavy pieces fill a sack sooner.
int32_t coSackedThreshold(const MailTypeSettings& mailType) {
    if (!mailType.hasExactWeight())
        return 125;
    double weight = mailType.pieceWeight();
    if (weight < 1.92)
        return 125;
    return static_cast<int32_t>(std::trunc(240 / weight + 0.9999));
}

// Where a package claims another rate level than its container, by class.
std::optional<std::string> packageRateLevel(const SortedMailing& mailing,
                                            const Container& container, const SortGroup& group) {
    bool mixed = container.level == ContainerLevel::Mixed;
    bool centerOrMixed =
        container.kind == ContainerKind::Mixed || container.kind == ContainerKind::Adc;
    switch (mailing.mailClass().value()) {
    case MailClass::PAF:
        if (!mixed)
            return std::nullopt;
        return isFiveOrThreeDigit(group.kind) ? "3/5B" : "BB";
    case MailClass::RAF:
        if (!mixed)
            return std::nullopt;
        return digitLevel(group.kind, "BB");
    case MailClass::PCOF:
        if (!group.nonbarcoded)
            return digitLevel(group.kind, "BB");
        if (centerOrMixed || container.kind == ContainerKind::Scf)
            return "BS";
        return container.kind == ContainerKind::FiveDigit ? "5D" : "3D";
    case MailClass::RCOF:
        if (!group.nonbarcoded)
            return isFiveOrThreeDigit(group.kind) ? "3/5B" : "BB";
        if (centerOrMixed)
            return "BS";
        return container.pieces < coSackedThreshold(mailing.mailType()) ? "BS" : "3/5";
    default:
        return std::nullopt;
    }
}

void putPackagePart(std::string& record, const SortedMailing& mailing, size_t k, size_t g,
                    int32_t packageNumber) {
    PackageDescription package = DescribePackage(mailing, g);
    put(record, Package, zeroPad(packageNumber, 6) + package.levelCode + package.paveName);
    put(record, Endorsement, package.endorsement);
    if (std::optional<std::string> level =
            packageRateLevel(mailing, mailing.containers()[k], mailing.sortGroups()[g]))
        put(record, RateLevel, *level);
}

std::string zoneText(const ZoneDestination& destination) {
    switch (destination.kind) {
    case ZoneDestination::Scf:
        return "SCF";
    case ZoneDestination::Adc:
        return "ADC";
    case ZoneDestination::Zone:
        return intToStr(destination.zone);
    case ZoneDestination::Unzoned:
        break;
    }
    return "";
}

// Appends the records of the pieces of one ZIP group; a Periodicals group's in-county pieces
// come first, then the others with the zone of their destination.
void addPieces(std::vector<std::string>& records, const std::string& packageRecord,
               const std::optional<PeriodicalZoneClassifier>& zones, const ZipGroup& zipGroup) {
    std::string record = packageRecord;
    std::string outside;
    int32_t inCounty = 0;
    if (zones) {
        outside = zoneText(zones->destinationOf(zipPrefix(zipGroup.zip)));
        inCounty = zones->inCountyPieces(zipGroup);
    }
    for (int32_t i = 0; i < zipGroup.pieces; ++i) {
        if (zones)
            put(record, Zone, i < inCounty ? "IC" : outside);
        // The first piece is line 2 of the PAVE test file, after its template line.
        put(record, Sequence, zeroPad(static_cast<int64_t>(records.size()) + 2, 7));
        records.push_back(record);
    }
}

} // namespace

std::vector<std::string> MakePaveRecords(const SortedMailing& mailing) {
    std::vector<std::string> records;
    std::optional<PeriodicalZoneClassifier> zones;
    if (mailing.mailClass().isPeriodicals())
        zones.emplace(mailing);
    bool packages = !mailing.mailClass().isTraysOnlyLetters();
    int32_t packageNumber = 0;
    for (size_t k = 0; k < mailing.containers().size(); ++k) {
        const std::string container = containerPart(mailing, k);
        for (int32_t g : mailing.sortGroupsIn(k)) {
            std::string record = container;
            if (packages)
                putPackagePart(record, mailing, k, static_cast<size_t>(g), ++packageNumber);
            for (int32_t z : mailing.zipGroupsOf(static_cast<size_t>(g)))
                addPieces(records, record, zones, mailing.zipGroups()[static_cast<size_t>(z)]);
        }
    }
    return records;
}

} // namespace quillan
