#include "xls/PrintSettings.h"

#include "xls/OptionBits.h"
#include "xls/XlsError.h"
#include "xls/XlsUtils.h"

#include <charconv>

namespace xls {

namespace {

// An integer, or -2 for a text that is not one (so that it fails the -1-or-more rule).
int numberOr(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    size_t end = text.find_last_not_of(' ');
    if (start == std::string_view::npos)
        return -2;
    text = text.substr(start, end - start + 1);
    int value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return -2;
    return value;
}

} // namespace

void PrintSettings::setHeader(std::string_view text) {
    if (text.size() > MaxHeaderLength) {
        tell("Header is limited to max 255 characthers");
        return;
    }
    header_ = text;
}

void PrintSettings::setFooter(std::string_view text) {
    if (text.size() > MaxHeaderLength) {
        tell("Footer is limited to max 255 characthers");
        return;
    }
    footer_ = text;
}

void PrintSettings::setHeaderAsRead(std::string_view flagged) {
    setHeader(fromXlsString(flagged));
    if (header_ == fromXlsString(flagged))
        headerAsRead_ = flagged;
}

void PrintSettings::setFooterAsRead(std::string_view flagged) {
    setFooter(fromXlsString(flagged));
    if (footer_ == fromXlsString(flagged))
        footerAsRead_ = flagged;
}

namespace {

// The page options of SETUP and their bits.
constexpr NamedBit SetupOptions[] = {{PrintSettings::LeftToRight, 0x01},
                                     {PrintSettings::Portrait, 0x02},
                                     {PrintSettings::NoColor, 0x08},
                                     {PrintSettings::DraftQuality, 0x10},
                                     {PrintSettings::Notes, 0x20}};

} // namespace

uint16_t PrintSettings::setupOptionWord() const {
    return optionWord(options, setupFlags, SetupOptions);
}

void PrintSettings::setSetupOptionWord(uint16_t word) {
    options = optionsOfWord(word, options, setupFlags, SetupOptions);
}

bool PrintSettings::parseRange(std::string_view text, int& first, int& last) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return false;
    first = numberOr(text.substr(0, colon));
    last = numberOr(text.substr(colon + 1));
    if (first < -1 || last < -1 || last < first)
        return false;
    if (first < 0 || last < 0)
        first = last = -1;
    return true;
}

std::string PrintSettings::rowsOnEachPage() const {
    return std::to_string(firstRow_) + ":" + std::to_string(lastRow_);
}

std::string PrintSettings::colsOnEachPage() const {
    return std::to_string(firstCol_) + ":" + std::to_string(lastCol_);
}

void PrintSettings::setRowsOnEachPage(std::string_view text) {
    int first, last;
    if (!parseRange(text, first, last))
        throw XlsError("Invalid value");
    firstRow_ = first;
    lastRow_ = last;
    storeTitles();
}

void PrintSettings::setColsOnEachPage(std::string_view text) {
    int first, last;
    if (!parseRange(text, first, last))
        throw XlsError("Invalid value");
    firstCol_ = first;
    lastCol_ = last;
    storeTitles();
}

void PrintSettings::storeTitles() {
    if (onPrintTitles)
        onPrintTitles(firstCol_, lastCol_, firstRow_, lastRow_);
}

void PrintSettings::reset() {
    startingPage = 1;
    options = Portrait;
    headerMargin = footerMargin = 0;
    marginBottom = marginLeft = marginRight = marginTop = -1;
    copies = 1;
    scalingFactor = 100;
    horizPagebreaks.clear();
    vertPagebreaks.clear();
}

} // namespace xls
