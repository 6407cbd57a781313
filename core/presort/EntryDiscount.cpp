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
    const MailingCounters& c = ctx.counters;
    ChartIndex dbmc(ctx.lists.dbmcChart);
    for (size_t z = 1; z <= static_cast<size_t>(c.zipGroupCount); ++z) {
        int32_t g = t.zipGroupOwner[z];
        if (g < 1 || g >= c.sortGroupCount)
            continue;
        if (t.sortGroupContainer[static_cast<size_t>(g)] != c.containerCount)
            continue;
        if (dbmc.value(zipPrefix(t.zipGroupZips[z])) != bmc)
            return false;
    }
    return true;
}

} // namespace

EntryDiscount EntryDiscountFor(const PresortContext& ctx, GroupKind building,
                               const std::string& key) {
    if (!ctx.mailClass().isStandard())
        return EntryDiscount::None;
    EntryFacilities f = entryFacilities(ctx);
    if (building == GroupKind::Mixed)
        return f.bmc > 0 && mixedContainerInBmc(ctx, f.bmc) ? EntryDiscount::Dbmc
                                                            : EntryDiscount::None;
    int32_t prefix = 0;
    if (!tryStrToInt(key, prefix) || !isZipPrefix(prefix))
        return EntryDiscount::None;
    EntryDiscount result = EntryDiscount::None;
    if (f.bmc > 0 && chartValue(ctx.lists.dbmcChart, prefix) == f.bmc)
        result = EntryDiscount::Dbmc;
    bool center = building == GroupKind::Adc || building == GroupKind::Aadc;
    if (f.scf != 0 && !center && chartValue(ctx.lists.scfChart, prefix) == f.scf)
        result = EntryDiscount::Dscf;
    return result;
}

std::string entryKeyOfLabel(const std::string& label) {
    size_t blank = label.rfind(' ');
    if (blank == std::string::npos)
        return {};
    return label.substr(blank + 1, 3);
}

} // namespace quillan
