#include "printouts/PackageDescription.h"

#include "core/Convert.h"
#include "core/MixedDestination.h"
#include "core/PostalCharts.h"

namespace quillan {

namespace {

// The first line of label n of a list; empty when the list has no such label.
std::string listName(const SettingsList& labels, int32_t n) {
    if (n < 1 || n >= labels.count())
        return {};
    return firstLine(labels[n]);
}

// Mixed pieces go to the facility that takes the mixed trays and sacks of the mailer's area:
// the one the presort labelled the mixed container for.
PackageDescription mixedPackage(const SortedMailing& mailing, bool nonbarcoded) {
    bool aadc = mailing.mailClass().isTraysOnlyLetters();
    MixedDestination origin = findMixedDestination(mailing.postalLists(), mailing.mailer(),
                                                   mailing.mailClass(), nonbarcoded);
    std::string facility = firstLine(origin.label.value_or(""));
    PackageDescription p;
    p.description = aadc ? "A mixed aadc" : "A mixed adc";
    p.sticker = "a tan MXD";
    p.endorsement = std::string(aadc ? "MIXED AADC" : "MIXED ADC") + " " + facility;
    p.levelCode = aadc ? "MAAD" : "MADC";
    p.destination = "the remaining zips";
    p.paveName = facility;
    return p;
}

bool beginsWithWord(const std::string& text, const std::string& word) {
    return text.compare(0, word.size(), word) == 0 &&
           (text.size() == word.size() || text[word.size()] == ' ');
}

// The label lists name their distribution centres "ADC DETROIT MI 481" or "AADC ...": such a
// name is the destination as it stands; a bare place name gets the kind in front of it.
std::string distributionDestination(bool aadc, const std::string& name) {
    if (beginsWithWord(name, "ADC") || beginsWithWord(name, "AADC"))
        return name;
    return std::string(aadc ? "AADC " : "ADC ") + name;
}

PackageDescription distributionPackage(bool aadc, const std::string& name) {
    PackageDescription p;
    p.description = aadc ? "An AADC" : "An ADC";
    p.sticker = "a pink A";
    p.destination = distributionDestination(aadc, name);
    p.endorsement = "ALL FOR " + p.destination;
    p.levelCode = aadc ? "AADC" : "ADC ";
    p.paveName = name;
    return p;
}

PackageDescription areaPackage(const char* description, const char* sticker,
                               const char* endorsementLead, const char* levelCode,
                               std::string destination) {
    PackageDescription p{description, sticker,     endorsementLead + destination,
                         levelCode,   destination, destination};
    return p;
}

} // namespace

PackageDescription DescribePackage(const SortedMailing& mailing, size_t g) {
    const SortGroup& group = mailing.sortGroups().at(g);
    const PostalLists& lists = mailing.postalLists();
    switch (group.kind) {
    case GroupKind::Mixed:
        return mixedPackage(mailing, group.nonbarcoded);
    case GroupKind::Adc:
        return distributionPackage(false, listName(lists.adcLabels, group.key));
    case GroupKind::Aadc:
        return distributionPackage(true, listName(lists.aadcLabels, group.key));
    case GroupKind::ThreeDigitScheme:
        return areaPackage("A 3-digit scheme", "a green 3", "3-DIGIT ", "3DGS", group.keyText());
    case GroupKind::ThreeDigit:
        return areaPackage("A 3-digit", "a green 3", "3-DIGIT ", "3DG ", group.keyText());
    case GroupKind::FiveDigit:
        return areaPackage("A 5-digit", "a red D", "5-DIGIT ", "5DG ", group.keyText());
    case GroupKind::Scf:
        break;
    }
    PackageDescription none;
    none.levelCode = "    ";
    return none;
}

} // namespace quillan
