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

    void note(MailClass code, int32_t flag, GroupKind kind) {
        if (code == MailClass::PCOF && flag == 1)
            nonbarcoded = true;
        else if (isThreeDigitGroup(kind))
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
    const WorkTables& t = ctx.tables;
    const MailClass code = ctx.mailClass();
    int32_t total = 0;
    ScfKinds kinds;
    for (int32_t h : members) {
        total += t.sortGroupPieces[at(h)];
        kinds.note(code, t.sortGroupFlags[at(h)], t.sortGroupKinds[at(h)]);
    }
    if (total < minimum && (total <= 0 || scf != mailerScf))
        return;
    const std::string& entry = labelText(ctx.lists.scfLabels, std::abs(scf));
    std::string label = "SCF " + entry + (scf < 0 ? "*" : "");
    ContainerType type{ContainerKind::Scf, kinds.level(code),
                       EntryDiscountFor(ctx, GroupKind::Scf, lastThree(entry))};
    int32_t number = level.add(scfOrderKey(entry), scfOrderKey(entry), total, label, type);
    level.fill(number, members, total);
}

} // namespace

void BuildSCFLevel(PresortContext& ctx) {
    const WorkTables& t = ctx.tables;
    LevelContainers level(ctx);
    int32_t minimum = ctx.settings.periodical.containerMinimum();
    ChartIndex scfChart(ctx.lists.scfChart);
    int32_t mailerScf = scfChart.value(ctx.settings.mailer.zipPrefix());

    // The uncontained groups of every SCF in row order; the first of them decides the SCF,
    // since a later one would find fewer pieces and the same mailer test.
    std::map<int32_t, std::vector<int32_t>> scfs;
    std::vector<int32_t> order;
    for (int32_t g = 1; g < ctx.counters.sortGroupCount; ++g) {
        if (t.sortGroupContainer[at(g)] > 0)
            continue;
        int prefix = groupPrefix(t.sortGroupLabels[at(g)]);
        int32_t scf = prefix == 0 ? 0 : scfChart.value(prefix);
        if (scf == 0)
            continue;
        std::vector<int32_t>& members = scfs[scf];
        if (members.empty())
            order.push_back(scf);
        members.push_back(g);
    }
    for (int32_t scf : order)
        makeScfSack(ctx, level, scf, scfs[scf], minimum, mailerScf);
    level.finish();
}

} // namespace quillan
