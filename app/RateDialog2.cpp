#include "app/RateDialog2.h"

#include "app/HelpTopics.h"

namespace quillan {

RateDialog2::RateDialog2(AppContext& ctx)
    : RatePage(ctx, "rateDlog2", HelpTopic::NonletterRates,
               "Standard Regular Nonletter-Size Per Piece Rates", "Next", 470, 215) {
    addGrid(RateGrid{.prefix = "Nonletter",
                     .groups = {{"Nonautomation", 2}, {"Automation", 2}},
                     .columns = {"Basic", "3/5", "Basic", "3/5"},
                     .rowHeader = "Entry Disc.",
                     .rows = {"None", "DBMC", "DSCF"},
                     .firstBox = 20,
                     .left = 60});
    addButtons();
}

} // namespace quillan
