#include "core/PostalCharts.h"

#include "core/Convert.h"

#include <stdexcept>

namespace quillan {

EntryLines splitEntry(const std::string& entry) {
    size_t s = entry.find('*');
    size_t d = entry.find("**");
    if (s == d)
        s = std::string::npos; // the first star starts "**"
    EntryLines lines;
    if (s != std::string::npos)
        lines.line1 = entry.substr(0, s);
    else if (d != std::string::npos)
        lines.line1 = entry.substr(0, d);
    else
        lines.line1 = entry;
    if (d != std::string::npos)
        lines.line3 = entry.substr(d + 2);
    if (s != std::string::npos)
        lines.line2 = d == std::string::npos ? entry.substr(s + 1) : entry.substr(s + 1, d - s - 1);
    return lines;
}

std::string joinEntry(const EntryLines& lines) {
    std::string entry = lines.line1;
    if (!lines.line2.empty())
        entry += "*" + lines.line2;
    if (!lines.line3.empty())
        entry += "**" + lines.line3;
    return entry;
}

std::string firstLine(const std::string& entry) {
    return entry.substr(0, entry.find('*'));
}

int32_t chartValue(const SettingsList& chart, int prefix) {
    const std::string& line = chart[prefix];
    int32_t value = 0;
    if (tryStrToInt(line, value) || chart.fileName().empty())
        return strToInt(line);
    // A chart loaded from its file is Quillan's own: the damage is named where it lies.
    std::string name = chart.fileName();
    throw SettingsLineError(name.substr(name.find_last_of('/') + 1), prefix, line);
}

const std::string& labelText(const SettingsList& labels, int32_t number) {
    return labels[number];
}

std::optional<std::string> chartLabel(const SettingsList& chart, const SettingsList& labels,
                                      int prefix) {
    if (prefix < 1 || prefix >= chart.count())
        return std::nullopt;
    int32_t value = chartValue(chart, prefix);
    if (value < 0)
        value = -value;
    if (value == 0 || value >= labels.count())
        return std::nullopt;
    return labels[value];
}

ChartIndex::ChartIndex(const SettingsList& chart) : chart_(&chart) {
    values_.resize(static_cast<size_t>(chart.count()));
    valid_.resize(values_.size());
    for (long p = 0; p < chart.count(); ++p)
        valid_[static_cast<size_t>(p)] = tryStrToInt(chart[p], values_[static_cast<size_t>(p)]);
}

int32_t ChartIndex::value(int prefix) const {
    if (prefix < 0 || static_cast<size_t>(prefix) >= values_.size() ||
        !valid_[static_cast<size_t>(prefix)])
        return chartValue(*chart_, prefix); // throws the error the plain read gives
    return values_[static_cast<size_t>(prefix)];
}

const std::vector<PostalList>& postalLists() {
    using S = PostalLists;
    static const std::vector<PostalList> lists = {
        {1, "3-Digit Labels", "3-Digit Labels and Unique Cities", "tdlist.dat", "tdchrt.dat",
         &S::threeDigitLabels, &S::threeDigitChart},
        {2, "3-Digit Scheme Labels", "3-Digit Scheme Labels", "tdsclist.dat", "tdscchrt.dat",
         &S::schemeLabels, &S::schemeChart},
        {3, "SCF Labels", "SCF Labels", "scflist.dat", "scfchrt.dat", &S::scfLabels, &S::scfChart},
        {4, "ADC Labels - Standard", "ADC Labels - Standard", "adclist.dat", "adcschrt.dat",
         &S::adcLabels, &S::adcStandardChart},
        {5, "ADC Labels - Periodicals", "ADC Labels - Periodicals", "adclist.dat", "adcpchrt.dat",
         &S::adcLabels, &S::adcPeriodicalChart},
        {6, "AADC Labels - Std/Per", "AADC Labels - Standard", "aadclist.dat", "aadschrt.dat",
         &S::aadcLabels, &S::aadcStandardChart},
        {7, "AADC Labels - 1st Class", "AADC Labels - First Class", "aadclist.dat", "aadfchrt.dat",
         &S::aadcLabels, &S::aadcFirstClassChart},
        {8, "DBMC Locations", "Destination Bulk Mail Centers", "dbmclist.dat", "dbmcchrt.dat",
         &S::dbmcLabels, &S::dbmcChart},
        {9, "BMC/ASF Entry", "BMC/ASF Entry Labels", "bmcalist.dat", "dbmcchrt.dat",
         &S::bmcAsfLabels, &S::dbmcChart},
        {10, "Non BMC/ASF - Standard", "Non-BMC/ASF Entry Labels - Standard", "nbmclist.dat",
         "nbmschrt.dat", &S::nonBmcLabels, &S::nonBmcStandardChart},
        {11, "Non BMC/ASF - Periodicals", "Non-BMC/ASF Entry Labels - Periodicals", "nbmclist.dat",
         "nbmpchrt.dat", &S::nonBmcLabels, &S::nonBmcPeriodicalChart},
        {12, "Periodical Zones", "Periodical Zones", "zonelist.dat", "zonechrt.dat", &S::zoneLabels,
         &S::zoneChart},
    };
    return lists;
}

const PostalList& postalList(int number) {
    if (number < 1 || number > 12)
        throw std::out_of_range("postal list " + std::to_string(number));
    return postalLists()[static_cast<size_t>(number - 1)];
}

} // namespace quillan
