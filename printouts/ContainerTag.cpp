#include "printouts/ContainerTag.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <algorithm>

namespace quillan {

namespace {

std::string lastChars(const std::string& text, size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

// The tag's top line splits into the destination and its ZIP: 5 digits when the fourth
// character from the end is not a blank, else 3. A 3-digit area whose label sorts it as
// another ("MID CITIES TX 751! 753") takes the three digits before the "!", and the
// destination loses the "!" and its digits as well.
void splitDestination(const std::string& line1, std::string& destination, std::string& zip) {
    size_t n = line1.size();
    if (n < 4) {
        destination.clear();
        zip = line1;
        return;
    }
    if (line1[n - 4] != ' ')
        zip = lastChars(line1, 5);
    else if (n >= 5 && line1[n - 5] == '!')
        zip = n >= 8 ? line1.substr(n - 8, 3) : std::string();
    else
        zip = line1.substr(n - 3);
    destination = line1.substr(0, n - std::min(n, zip.size() + 1));
    if (!destination.empty() && destination.back() == '!')
        destination.erase(destination.size() - std::min<size_t>(5, destination.size()));
}

// A line without a blank is its own last word.
std::string lastWord(const std::string& line) {
    size_t blank = line.rfind(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

std::string mixedListCode(const SortedMailing& mailing) {
    MailClass mailClass = mailing.mailClass();
    if (mailClass.isNonautomation())
        return "L004 ";
    if (mailClass.isFirstClass())
        return "L002C";
    return mailing.mailer().entersAtBmc() ? "L802 " : "L803 ";
}

// Level word and code, the make-up sentence's destination and the labelling list, by kind.
void describeLevel(const SortedMailing& mailing, const std::string& body, const EntryLines& lines,
                   ContainerTag& tag) {
    MailClass mailClass = mailing.mailClass();
    bool aadc = mailClass.isTraysOnlyLetters();
    switch (tag.kind) {
    case ContainerKind::Mixed:
        tag.levelWord = aadc ? "mixed aadc" : "mixed adc";
        tag.levelCode = aadc ? "MAAD" : "MADC";
        tag.destinationText = "the remaining zip codes";
        tag.listCode = mixedListCode(mailing);
        return;
    case ContainerKind::Adc:
        tag.levelWord = aadc ? "AADC" : "ADC";
        tag.levelCode = aadc ? "AADC" : "ADC ";
        tag.destinationText = tag.levelWord + " " + lastWord(lines.line1);
        tag.listCode = aadc ? "L801 " : "L004 ";
        return;
    case ContainerKind::Scheme: {
        size_t star = body.find('*');
        tag.levelWord = "3-digit scheme";
        tag.levelCode = "3DGS";
        tag.destinationText = "scheme " + lastChars(body.substr(0, star), 3);
        tag.listCode = "L002B";
        return;
    }
    case ContainerKind::Scf: {
        std::string area = body.substr(std::min<size_t>(4, body.size()));
        if (!area.empty() && area.back() == '*')
            area.pop_back();
        tag.levelWord = "SCF";
        tag.levelCode = "SCF ";
        tag.destinationText = "SCF " + lastChars(area, 3);
        tag.listCode = "L002C";
        return;
    }
    case ContainerKind::FiveDigit:
        tag.levelWord = "5-digit";
        tag.levelCode = "5DG ";
        tag.destinationText = lastChars(body, 5);
        tag.listCode = "     ";
        return;
    case ContainerKind::ThreeDigit:
        tag.levelWord = "3-digit";
        tag.levelCode = "3DG ";
        tag.destinationText = lastChars(body, 3);
        tag.listCode = mailClass.isAutomationLetters() ? "L002B" : "L002A";
        return;
    }
}

// Sacks hold flats; a tray's size follows from its pieces and the pieces of a full tray.
void describeContainer(const SortedMailing& mailing, int32_t pieces, ContainerTag& tag) {
    if (tag.sack) {
        // "an ADC", "an AADC", "an SCF" sack.
        bool vowel = tag.kind == ContainerKind::Adc || tag.kind == ContainerKind::Scf;
        tag.article = vowel ? " an" : " a";
        tag.containerType = 'S';
        return;
    }
    const MailTypeSettings& mailType = mailing.mailType();
    if (!mailType.mmTrays()) {
        tag.article = " an emm-type";
        tag.containerType = 'E';
        return;
    }
    long double oneFoot = static_cast<long double>(mailType.fullTray()) * 10.25L / 21.0L;
    bool twoFoot = pieces > oneFoot;
    tag.article = twoFoot ? " a 2' mm-type" : " a 1' mm-type";
    tag.containerType = twoFoot ? '2' : '1';
}

const char* processingCode(MailClass mailClass) {
    if (mailClass.isTraysOnlyLetters())
        return "01";
    if (mailClass.isPackagedLetters())
        return "07";
    return "  ";
}

std::string joined(const std::string& first, const std::string& second) {
    if (first.empty() || second.empty())
        return first + second;
    return first + " " + second;
}

} // namespace

std::string ContainerTag::barcodeDigits() const {
    return sack ? tagCode.substr(0, 8) : tagCode;
}

size_t ContainerTag::barcodeLength() const {
    return sack ? 8 : 10;
}

bool ContainerTag::hasPrintableBarcode() const {
    std::string digits = barcodeDigits();
    return digits.size() == barcodeLength() &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ContainerTag DescribeContainer(const SortedMailing& mailing, size_t k) {
    const Container& container = mailing.containers().at(k);
    MailClass mailClass = mailing.mailClass();
    ContainerTag tag{};
    tag.kind = container.kind;
    const std::string& body = container.destination;
    EntryLines lines = splitEntry(body);
    tag.sack = mailClass.isFlats();
    tag.stripes = mailClass.isAutomationLetters();
    describeLevel(mailing, body, lines, tag);
    describeContainer(mailing, container.pieces, tag);
    splitDestination(lines.line1, tag.destinationLine, tag.zipText);
    tag.extraLine = lines.line3;

    bool newspaper = mailClass.isPeriodicals() && mailing.periodical().weeklyOrMore();
    std::optional<ContentIdentifier> content = contentIdentifierOf(mailClass, tag.kind, newspaper);
    if (content)
        tag.contentNumber = content->number;
    tag.contentLine = joined(content ? content->text : std::string(), lines.line2);
    tag.tagCode = tag.zipText + (tag.zipText.size() == 3 ? "00" : "") + tag.contentNumber +
                  processingCode(mailClass);
    return tag;
}

std::optional<std::string> FindUnprintableTagCode(const SortedMailing& mailing) {
    for (size_t k = 0; k < mailing.containers().size(); ++k) {
        ContainerTag tag = DescribeContainer(mailing, k);
        if (tag.hasPrintableBarcode())
            continue;
        size_t wanted = tag.barcodeLength();
        std::string word = tag.sack ? "sack" : "tray";
        return "The tag of " + word + " " + intToStr(static_cast<int64_t>(k) + 1) + " (\"" +
               mailing.containers()[k].label() + "\") cannot be printed: its barcode " + "needs " +
               std::to_string(wanted) + " digits, and its tag code is \"" + tag.tagCode +
               "\". No tags were printed. Correct the label under Postal Lists " +
               "and sort the list again.";
    }
    return std::nullopt;
}

} // namespace quillan
