#include "core/presort/ScfLevel.h"

#include "core/PostalCharts.h"
#include "core/presort/EntryDiscount.h"
#include "core/presort/LevelContainers.h"
#include "core/presort/OrderKeys.h"
#include "core/presort/PresortRules.h"

#include <cstdlib>
#include <map>
#include <vector>

namespace quillan {

namespace {

// What a Periodicals flat SCF sack holds: 3-digit, 5-digit and (co-sacked) nonbarcoded
// groups.
struct ScfKinds {
    bool threeDigit = false, fiveDigit = false, nonbarcoded = false;

    void note(MailClass code, const SortGroup& group) {
        if (code == MailClass::PCOF && group.nonbarcoded)
            nonbarcoded = true;
        else if (isThreeDigitGroup(group.kind))
            threeDigit = true;
        else
            fiveDigit = true;
    }
    ContainerLevel level(MailClass code) const {
        if (code == MailClass::PNAF)
            return ContainerLevel::Basic;
        if (code == MailClass::PAF) {
            if (threeDigit && fiveDigit)
                return ContainerLevel::Mixed;
            return threeDigit ? ContainerLevel::ThreeDigit : ContainerLevel::FiveDigit;
        }
        if (threeDigit + fiveDigit + nonbarcoded >= 2)
            return ContainerLevel::Mixed;
        if (threeDigit)
            return ContainerLevel::ThreeDigit;
        return fiveDigit ? ContainerLevel::FiveDigit : ContainerLevel::Basic;
    }
};

std::string lastThree(const std::string& text) {
    return text.size() < 3 ? text : text.substr(text.size() - 3);
}

void makeScfSack(PresortContext& ctx, LevelContainers& level, int32_t scf,
                 const std::vector<int32_t>& members, int32_t minimum, int32_t mailerScf) {
    const MailClass code = ctx.mailClass();
    int32_t total = 0;
    ScfKinds kinds;
    for (int32_t h : members) {
        const SortGroup& group = ctx.tables.sortGroups[static_cast<size_t>(h)];
        total += group.pieces;
        kinds.note(code, group);
    }
    if (total < minimum && (total <= 0 || scf != mailerScf))
        return;
    const std::string& entry = labelText(ctx.lists.scfLabels, std::abs(scf));
    Container container{.pieces = total,
                        .kind = ContainerKind::Scf,
                        .level = kinds.level(code),
                        .entry =
                            EntryDiscountFor(ctx, GroupKind::Scf, entryPrefixOf(lastThree(entry))),
                        .destination = "SCF " + entry + (scf < 0 ? "*" : "")};
    int32_t index = level.add(scfOrderKey(entry), scfOrderKey(entry), std::move(container));
    level.fill(index, members, total);
}

} // namespace

void BuildSCFLevel(PresortContext& ctx) {
    const std::vector<SortGroup>& groups = ctx.tables.sortGroups;
    LevelContainers level(ctx);
    int32_t minimum = ctx.settings.periodical.containerMinimum();
    ChartIndex scfChart(ctx.lists.scfChart);
    int32_t mailerScf = scfChart.value(ctx.settings.mailer.zipPrefix());

    // The uncontained groups of every SCF in table order; the first of them decides the SCF,
    // since a later one would find fewer pieces and the same mailer test.
    std::map<int32_t, std::vector<int32_t>> scfs;
    std::vector<int32_t> order;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].contained())
            continue;
        int prefix = groups[g].prefix();
        int32_t scf = prefix == 0 ? 0 : scfChart.value(prefix);
        if (scf == 0)
            continue;
        std::vector<int32_t>& members = scfs[scf];
        if (members.empty())
            order.push_back(scf);
        members.push_back(static_cast<int32_t>(g));
    }
    for (int32_t scf : order)
        makeScfSack(ctx, level, scf, scfs[scf], minimum, mailerScf);
    level.finish();
}

} // namespace quillan
