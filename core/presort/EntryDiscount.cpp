#include "core/presort/EntryDiscount.h"

#include "core/Convert.h"
#include "core/PostalCharts.h"

#include <array>
#include <cstdlib>

namespace quillan {

namespace {

// The auxiliary service facilities: the code that ends a destination-BMC label, the
// 3-digit prefix of the SCF the facility sits in, and the text that ends that SCF's label.
struct Asf {
    const char* dbmcCode;
    int prefix;
    const char* scfEnd;
};

constexpr std::array<Asf, 9> asfTable{{{"Y 140", 140, "140"},
                                       {"D 570", 570, "570"},
                                       {"D 580", 580, "580"},
                                       {"T 590", 590, "590"},
                                       {"K 730", 730, "730"},
                                       {"T 840", 840, "840"},
                                       {"Z 852", 852, "852"},
                                       {"M 870", 870, "870"},
                                       {"05500", 10, "010"}}};

std::string lastChars(const std::string& text, size_t n) {
    return text.size() < n ? std::string() : text.substr(text.size() - n);
}

// The entry BMC and entry SCF numbers of the mailer's post office (0 for none).
struct EntryFacilities {
    int32_t bmc = 0;
    int32_t scf = 0;
};

EntryFacilities entryFacilities(const PresortContext& ctx) {
    const PostalLists& l = ctx.lists;
    const MailerSettings& mailer = ctx.settings.mailer;
    EntryFacilities f;
    if (!mailer.entersAtScf() && !mailer.entersAtBmc())
        return f;
    int prefix = mailer.zipPrefix();
    if (mailer.entersAtBmc()) {
        f.bmc = chartValue(l.dbmcChart, prefix);
        if (f.bmc <= 0)
            return f;
        std::string code = lastChars(labelText(l.dbmcLabels, f.bmc), 5);
        for (const Asf& asf : asfTable)
            if (code == asf.dbmcCode)
                f.scf = chartValue(l.scfChart, asf.prefix);
    } else {
        f.scf = chartValue(l.scfChart, prefix);
        if (f.scf == 0)
            return f;
        std::string end = lastChars(labelText(l.scfLabels, std::abs(f.scf)), 3);
        for (const Asf& asf : asfTable)
            if (end == asf.scfEnd)
                f.bmc = chartValue(l.dbmcChart, asf.prefix);
    }
    return f;
}

// Every piece of the mixed container being built lies in the entry BMC.
bool mixedContainerInBmc(const PresortContext& ctx, int32_t bmc) {
    const WorkTables& t = ctx.tables;
    const int32_t building = static_cast<int32_t>(t.containers.size());
    ChartIndex dbmc(ctx.lists.dbmcChart);
    for (const ZipGroup& zip : t.zipGroups) {
        if (!zip.placed() || static_cast<size_t>(zip.owner) >= t.sortGroups.size())
            continue;
        if (t.sortGroups[static_cast<size_t>(zip.owner)].container != building)
            continue;
        if (dbmc.value(zipPrefix(zip.zip)) != bmc)
            return false;
    }
    return true;
}

} // namespace

EntryDiscount EntryDiscountFor(const PresortContext& ctx, GroupKind building, int prefix) {
    if (!ctx.mailClass().isStandard())
        return EntryDiscount::None;
    EntryFacilities f = entryFacilities(ctx);
    if (building == GroupKind::Mixed)
        return f.bmc > 0 && mixedContainerInBmc(ctx, f.bmc) ? EntryDiscount::Dbmc
                                                            : EntryDiscount::None;
    if (!isZipPrefix(prefix))
        return EntryDiscount::None;
    EntryDiscount result = EntryDiscount::None;
    if (f.bmc > 0 && chartValue(ctx.lists.dbmcChart, prefix) == f.bmc)
        result = EntryDiscount::Dbmc;
    bool center = building == GroupKind::Adc || building == GroupKind::Aadc;
    if (f.scf != 0 && !center && chartValue(ctx.lists.scfChart, prefix) == f.scf)
        result = EntryDiscount::Dscf;
    return result;
}

int entryPrefixOf(const std::string& text) {
    int32_t prefix = 0;
    return tryStrToInt(text, prefix) ? prefix : 0;
}

std::string centerEntryKey(const std::string& entry) {
    size_t blank = entry.rfind(' ');
    if (blank == std::string::npos)
        return {};
    return entry.substr(blank + 1, 3);
}

} // namespace quillan
