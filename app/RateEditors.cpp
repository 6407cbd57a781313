#include "app/RateEditors.h"

#include <algorithm>

namespace quillan {

using namespace platform;

RateEditors::RateEditors(AppContext& ctx, RateDialog1& letter, RateDialog2& nonletter,
                         RateDialog3& piecePound, RateDialogF& firstClass, RateDialogP& periodical)
    : ctx_(ctx), letter_(letter), nonletter_(nonletter), piecePound_(piecePound),
      firstClass_(firstClass), periodical_(periodical) {}

void RateEditors::StandardARatesClick() {
    runSteps(
        "Standard",
        {
            {letter_, "Standard Regular Letter-Size Per Piece Rates", "Next", {{1, 1, 19}}},
            {nonletter_, "Standard Regular Nonletter-Size Per Piece Rates", "Next", {{20, 20, 12}}},
            {piecePound_, "Standard Regular Piece/Pound Rates", "Next", {{32, 1, 11}}},
            {letter_, "Standard Nonprofit Letter-Size Per Piece Rates", "Next", {{48, 1, 19}}},
            {nonletter_,
             "Standard Nonprofit Nonletter-Size Per Piece Rates",
             "Next",
             {{67, 20, 12}}},
            {piecePound_, "Standard Nonprofit Piece/Pound Rates", "Finish", {{79, 1, 11}}},
        });
}

void RateEditors::FirstClassRatesClick() {
    runSteps("First Class",
             {{firstClass_, "First Class Mail Automation Letter Rates", "OK", {{95, 1, 20}}}});
}

void RateEditors::PeriodicalRatesClick() {
    auto inCounty = [this](bool before) { periodical_.setInCounty(before); };
    runSteps("Periodical",
             {
                 {periodical_, "Periodical Regular Rates", "Next", {{115, 1, 22}}},
                 {periodical_,
                  "Periodical In-County Rates",
                  "Next",
                  {{137, 1, 1}, {138, 10, 9}},
                  inCounty},
                 {periodical_, "Periodical Science-of-Agriculture Rates", "Next", {{147, 1, 22}}},
             });
}

void RateEditors::runSteps(const std::string& rates, const std::vector<Step>& steps) {
    long lastLine = 0;
    for (const Step& step : steps)
        lastLine = std::max(lastLine, RatePage::lastLine(step.runs));
    if (!ratesCover(rates, lastLine))
        return;
    SettingsList& list = ctx_.lists.RatesList;
    for (const Step& step : steps) {
        if (step.around)
            step.around(true);
        bool confirmed = step.page.edit(step.heading, step.okCaption, list, step.runs);
        if (step.around)
            step.around(false);
        if (!confirmed)
            break;
    }
    ctx_.saveList(list, "rates.dat");
}

// A short rate table would otherwise fail in the middle of the pages, after the user has
// typed rates that could then not be kept.
bool RateEditors::ratesCover(const std::string& rates, long lastLine) {
    long count = ctx_.lists.RatesList.count();
    if (count > lastLine)
        return true;
    ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                 "The rate table rates.dat is incomplete: it has " + std::to_string(count) +
                     " lines, and the " + rates + " rates need line " + std::to_string(lastLine) +
                     ". Please restore rates.dat in the tables folder. No rate was changed.");
    return false;
}

} // namespace quillan
