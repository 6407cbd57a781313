#include "app/RateDialogF.h"

#include "app/HelpTopics.h"

namespace quillan {

RateDialogF::RateDialogF(AppContext& ctx)
    : RatePage(ctx, "rateDlogf", HelpTopic::FirstClassRates,
               "First Class Mail Automation Letter Rates", "OK", 450, 280) {
    addGrid(RateGrid{.prefix = "Weight",
                     .groups = {{"Automation", 4}},
                     .columns = {"Mixed", "AADC", "3-dg", "5-dg"},
                     .rowHeader = "Weight/pc. not over:",
                     .rows = {"1 oz.", "2 oz.", "3 oz.", "4 oz.", "Postcards"},
                     .firstBox = 1,
                     .rowLabelWidth = 150});
    addButtons();
}

} // namespace quillan
