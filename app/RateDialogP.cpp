#include "app/RateDialogP.h"

#include "app/HelpTopics.h"

namespace quillan {

static const char* const ZoneCaptions[] = {"SCF", "ADC", "1-2", "3", "4", "5", "6", "7", "8"};

RateDialogP::RateDialogP(AppContext& ctx)
    : RatePage(ctx, "rateDlogp", HelpTopic::PeriodicalRates, "Periodical Regular Rates", "Next",
               590, 330) {
    int bottom = addGrid(RateGrid{.prefix = "Zone",
                                  .groups = {{"Pound Rates (Zones)", ZoneCount}},
                                  .columns = {std::begin(ZoneCaptions), std::end(ZoneCaptions)},
                                  .rows = {""},
                                  .firstBox = 1,
                                  .rowLabelWidth = 0,
                                  .columnWidth = 60});
    int top = bottom + 12;
    int pieceBottom = addGrid(RateGrid{.prefix = "Piece",
                                       .groups = {{"Nonautomation", 1}, {"Automation", 2}},
                                       .columns = {"", "Letter", "Flat"},
                                       .rowHeader = "Piece Rates",
                                       .rows = {"Basic", "3-Digit", "5-Digit"},
                                       .firstBox = 10,
                                       .top = top,
                                       .columnWidth = 95});
    addGrid(RateGrid{.prefix = "Nonadv",
                     .groups = {{"Nonadvertising", 2}},
                     .columns = {"Per Pound", "Per Piece"},
                     .rows = {""},
                     .firstBox = 19,
                     .left = 395,
                     .top = top,
                     .rowLabelWidth = 0,
                     .columnWidth = 90});
    addGrid(RateGrid{.prefix = "Discount",
                     .columns = {"SCF Discount", "ADC Discount"},
                     .rows = {""},
                     .firstBox = 21,
                     .left = 395,
                     .top = pieceBottom - 48,
                     .rowLabelWidth = 0,
                     .columnWidth = 90});
    addButtons();
}

void RateDialogP::setInCounty(bool inCounty) {
    auto& form = this->form();
    form.control("ZoneColumn1").setCaption(inCounty ? "All Zones" : ZoneCaptions[0]);
    for (int zone = 2; zone <= ZoneCount; ++zone) {
        form.control("ZoneColumn" + std::to_string(zone)).setVisible(!inCounty);
        box(zone).setVisible(!inCounty);
    }
    for (int number = 19; number <= 22; ++number)
        box(number).setVisible(!inCounty);
    for (const char* caption :
         {"NonadvGroup1", "NonadvColumn1", "NonadvColumn2", "DiscountColumn1", "DiscountColumn2"})
        form.control(caption).setVisible(!inCounty);
}

} // namespace quillan
