#include "app/RateDialog1.h"

#include "app/HelpTopics.h"

namespace quillan {

RateDialog1::RateDialog1(AppContext& ctx)
    : RatePage(ctx, "rateDlog1", HelpTopic::LetterRates,
               "Standard Regular Letter-Size Per Piece Rates", "Next", 530, 250) {
    int bottom = addGrid(RateGrid{.prefix = "Letter",
                                  .groups = {{"Nonautomation", 2}, {"Automation", 4}},
                                  .columns = {"Basic", "3/5", "Mixed", "AADC", "3-dg", "5-dg"},
                                  .rowHeader = "Entry Disc.",
                                  .rows = {"None", "DBMC", "DSCF"},
                                  .firstBox = 1});
    // No letter rate exists for DSCF entry at Mixed AADC; its line stays as it is.
    box(15).setVisible(false);
    addCaption("SurchargeLbl",
               "Nonmachinable surcharge:", platform::Geometry{10, bottom + 10, 170, 18});
    addBox(19, platform::Geometry{185, bottom + 8, 60, 22}, {}, {"SurchargeLbl"});
    addButtons();
}

} // namespace quillan
