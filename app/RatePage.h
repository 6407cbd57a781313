#pragma once

#include "app/AppContext.h"
#include "platform/ui/Form.h"

#include <map>
#include <string>
#include <vector>

namespace quillan {

// Consecutive rate lines shown in consecutive boxes: line firstLine + i in box
// "Edit<firstBox + i>".
struct RateRun {
    long firstLine;
    int firstBox;
    int count;
};

// One grid of rate boxes: column groups over column captions, a row header over the row
// captions, and the boxes row by row from Edit<firstBox>. Its captions are named after the
// prefix: <prefix>Group1.., <prefix>Column1.., <prefix>RowHeader, <prefix>Row1..; an empty
// caption makes no label.
struct RateGrid {
    std::string prefix = {};
    std::vector<std::pair<std::string, int>> groups = {}; // caption, columns it spans
    std::vector<std::string> columns = {};
    std::string rowHeader = {};
    std::vector<std::string> rows = {};
    int firstBox = 1;
    int left = 10;
    int top = 44;
    int rowLabelWidth = 90;
    int columnWidth = 70;
};

// A "Rates" window: a heading, a grid of rate boxes under column and row captions, and the
// buttons OK, Cancel and Help. The rate editors show one page after another over the lines
// of rates.dat; the pages themselves only lay out their grids.
class RatePage {
public:
    RatePage(AppContext& ctx, std::string formName, int helpTopic, std::string heading,
             std::string okCaption, int width, int height);
    virtual ~RatePage() = default;
    RatePage(const RatePage&) = delete;
    RatePage& operator=(const RatePage&) = delete;

    platform::Form& form() { return form_; }

    // Fills the boxes from their lines and shows the page under this heading. Confirmed
    // with OK, every box goes back into its line and the result is true; any other way
    // of closing leaves the lines untouched.
    bool edit(const std::string& heading, const std::string& okCaption, SettingsList& rates,
              const std::vector<RateRun>& runs);

    // The highest line the runs touch.
    static long lastLine(const std::vector<RateRun>& runs);

protected:
    // A caption of the grid. Boxes name their captions, so that a refusal can say which
    // box it means in the words the user sees on the page.
    platform::Control& addCaption(const std::string& name, const std::string& text,
                                  platform::Geometry where);
    // Box "Edit<number>", described by its column captions and then its row captions.
    platform::Control& addBox(int number, platform::Geometry where,
                              std::vector<std::string> columnCaptions,
                              std::vector<std::string> rowCaptions);
    // Lays out a grid; returns the y just below its last row.
    int addGrid(const RateGrid& grid);
    // OK, Cancel and Help along the bottom right of the page.
    void addButtons();

    platform::Control& box(int number) { return form_.control(boxName(number)); }
    static std::string boxName(int number) { return "Edit" + std::to_string(number); }

private:
    struct BoxCaptions {
        std::vector<std::string> columns;
        std::vector<std::string> rows;
    };

    void FormActivate();
    void OKBtnClick();
    void HelpBtnClick();
    std::string describe(const std::string& boxName) const;
    std::string joinCaptions(const std::vector<std::string>& names) const;

    AppContext& ctx_;
    platform::Form form_;
    std::map<std::string, BoxCaptions> captionsOf_;
};

} // namespace quillan
