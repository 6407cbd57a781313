#pragma once

#include "app/AppContext.h"
#include "app/RateDialog1.h"
#include "app/RateDialog2.h"
#include "app/RateDialog3.h"
#include "app/RateDialogF.h"
#include "app/RateDialogP.h"

#include <functional>
#include <string>
#include <vector>

namespace quillan {

// The three rate editors of the Rates menu. Each shows its pages in turn over the lines of
// rates.dat; a page closed other than by OK ends the run, and the pages confirmed before it
// keep their changes. The editor then writes rates.dat whole.
class RateEditors {
public:
    RateEditors(AppContext& ctx, RateDialog1& letter, RateDialog2& nonletter,
                RateDialog3& piecePound, RateDialogF& firstClass, RateDialogP& periodical);

    void editStandardRates();
    void editFirstClassRates();
    void editPeriodicalRates();

private:
    struct Step {
        RatePage& page;
        std::string heading;
        std::string okCaption;
        std::vector<RateRun> runs;
        // Prepares the page before it is shown (true) and restores it after (false).
        std::function<void(bool)> around = {};
    };

    void runSteps(const std::string& rates, const std::vector<Step>& steps);
    bool ratesCover(const std::string& rates, long lastLine);

    AppContext& ctx_;
    RateDialog1& letter_;
    RateDialog2& nonletter_;
    RateDialog3& piecePound_;
    RateDialogF& firstClass_;
    RateDialogP& periodical_;
};

} // namespace quillan
