#include "app/RateDialog3.h"

#include "app/HelpTopics.h"

namespace quillan {

RateDialog3::RateDialog3(AppContext& ctx)
    : RatePage(ctx, "rateDlog3", HelpTopic::PiecePoundRates, "Standard Regular Piece/Pound Rates",
               "Next", 750, 260) {
    int bottom = addGrid(RateGrid{
        .prefix = "Piece",
        .groups = {{"Nonautomation", 2}, {"Automation Flats", 2}, {"Automation Letters", 4}},
        .columns = {"Basic", "3/5", "Basic", "3/5", "Mixed AADC", "AADC", "3-Digit", "5-Digit"},
        .rows = {"Per Piece:"},
        .firstBox = 1,
        .columnWidth = 80});
    addGrid(RateGrid{.prefix = "Pound",
                     .columns = {"None", "DBMC", "DSCF"},
                     .rows = {"Per Pound:"},
                     .firstBox = 9,
                     .top = bottom - 10,
                     .columnWidth = 80});
    addButtons();
}

} // namespace quillan
