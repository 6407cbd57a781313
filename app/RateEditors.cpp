#include "app/RateEditors.h"

#include "app/PageRun.h"

#include <algorithm>

namespace quillan {

using namespace platform;

namespace {

using R = RateTable;

long line(RateTable::Base base, long place) {
    return RateTable::line(base, place);
}

} // namespace

RateEditors::RateEditors(AppContext& ctx, RateDialog1& letter, RateDialog2& nonletter,
                         RateDialog3& piecePound, RateDialogF& firstClass, RateDialogP& periodical)
    : ctx_(ctx), letter_(letter), nonletter_(nonletter), piecePound_(piecePound),
      firstClass_(firstClass), periodical_(periodical) {}

void RateEditors::editStandardRates() {
    runSteps("Standard", {
                             {letter_,
                              "Standard Regular Letter-Size Per Piece Rates",
                              "Next",
                              {{line(R::StandardRegular, R::LetterRates), 1, 19}}},
                             {nonletter_,
                              "Standard Regular Nonletter-Size Per Piece Rates",
                              "Next",
                              {{line(R::StandardRegular, R::NonletterRates), 20, 12}}},
                             {piecePound_,
                              "Standard Regular Piece/Pound Rates",
                              "Next",
                              {{line(R::StandardRegular, R::PiecePoundRates), 1, 11}}},
                             {letter_,
                              "Standard Nonprofit Letter-Size Per Piece Rates",
                              "Next",
                              {{line(R::StandardNonprofit, R::LetterRates), 1, 19}}},
                             {nonletter_,
                              "Standard Nonprofit Nonletter-Size Per Piece Rates",
                              "Next",
                              {{line(R::StandardNonprofit, R::NonletterRates), 20, 12}}},
                             {piecePound_,
                              "Standard Nonprofit Piece/Pound Rates",
                              "Finish",
                              {{line(R::StandardNonprofit, R::PiecePoundRates), 1, 11}}},
                         });
}

void RateEditors::editFirstClassRates() {
    runSteps("First Class", {{firstClass_,
                              "First Class Mail Automation Letter Rates",
                              "OK",
                              {{line(R::FirstClass, 1), 1, 20}}}});
}

void RateEditors::editPeriodicalRates() {
    auto inCounty = [this](bool before) { periodical_.setInCounty(before); };
    runSteps("Periodical",
             {
                 {periodical_,
                  "Periodical Regular Rates",
                  "Next",
                  {{line(R::PeriodicalRegular, 1), 1, 22}}},
                 {periodical_,
                  "Periodical In-County Rates",
                  "Next",
                  {{line(R::PeriodicalInCounty, 1), 1, 1}, {line(R::PeriodicalInCounty, 2), 10, 9}},
                  inCounty},
                 {periodical_,
                  "Periodical Science-of-Agriculture Rates",
                  "Next",
                  {{line(R::PeriodicalAgriculture, 1), 1, 22}}},
             });
}

void RateEditors::runSteps(const std::string& rates, const std::vector<Step>& steps) {
    long lastLine = 0;
    for (const Step& step : steps)
        lastLine = std::max(lastLine, RatePage::lastLine(step.runs));
    if (!ratesCover(rates, lastLine))
        return;
    SettingsList& list = ctx_.lists.ratesList;
    std::vector<platform::Form*> forms;
    for (const Step& step : steps)
        forms.push_back(&step.page.form());
    PageRun samePlace(forms);
    for (const Step& step : steps) {
        if (step.around)
            step.around(true);
        bool confirmed = step.page.edit(step.heading, step.okCaption, list, step.runs);
        if (step.around)
            step.around(false);
        if (!confirmed)
            break;
    }
    ctx_.saveList(list, RateTable::FileName);
}

// A short rate table would otherwise fail in the middle of the pages, after the user has
// typed rates that could then not be kept.
bool RateEditors::ratesCover(const std::string& rates, long lastLine) {
    long count = ctx_.lists.ratesList.count();
    if (count > lastLine)
        return true;
    ctx_.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                 "The rate table rates.dat is incomplete: it has " + std::to_string(count) +
                     " lines, and the " + rates + " rates need line " + std::to_string(lastLine) +
                     ". Please restore rates.dat in the tables folder. No rate was changed.");
    return false;
}

} // namespace quillan
