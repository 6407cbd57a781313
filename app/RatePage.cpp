#include "app/RatePage.h"

#include "app/HelpTopics.h"
#include "core/Convert.h"

#include <algorithm>

namespace quillan {

using namespace platform;

static constexpr int ButtonWidth = 75;
static constexpr int ButtonHeight = 25;
static constexpr int Margin = 10;

RatePage::RatePage(AppContext& ctx, std::string formName, int helpTopic, std::string heading,
                   std::string okCaption, int width, int height)
    : ctx_(ctx), form_(ctx.platform.ui, std::move(formName), "Rates") {
    bindHelpKey(ctx_, form_, helpTopic);
    form_.setAbsoluteLayout(true);
    form_.setSize(width, height);
    form_.add(ControlKind::Label, "RateDlogHdr", std::move(heading))
        .setGeometry(Geometry{Margin, Margin, width - 2 * Margin, 24})
        .setFont({"Arial", 15, true, false, false});
    form_.add(ControlKind::Button, "OKBtn", std::move(okCaption))
        .setModalResult(ModalResult::Ok)
        .setDefault(true)
        .onClick = [this] { OKBtnClick(); };
    form_.add(ControlKind::Button, "CancelBtn", "Cancel").setModalResult(ModalResult::Cancel);
    form_.add(ControlKind::Button, "HelpBtn", "&Help").onClick = [this] { HelpBtnClick(); };
    form_.onActivate = [this] { FormActivate(); };
}

void RatePage::addButtons() {
    int top = form_.height() - Margin - ButtonHeight;
    int left = form_.width() - Margin - 3 * ButtonWidth - 2 * 8;
    for (const char* name : {"OKBtn", "CancelBtn", "HelpBtn"}) {
        form_.control(name).setGeometry(Geometry{left, top, ButtonWidth, ButtonHeight});
        left += ButtonWidth + 8;
    }
}

Control& RatePage::addCaption(const std::string& name, const std::string& text, Geometry where) {
    return form_.add(ControlKind::Label, name, text).setGeometry(where);
}

Control& RatePage::addBox(int number, Geometry where, std::vector<std::string> columnCaptions,
                          std::vector<std::string> rowCaptions) {
    std::string name = boxName(number);
    captionsOf_[name] = BoxCaptions{std::move(columnCaptions), std::move(rowCaptions)};
    return form_.add(ControlKind::Edit, name).setGeometry(where);
}

int RatePage::addGrid(const RateGrid& grid) {
    constexpr int CaptionHeight = 18;
    constexpr int RowHeight = 28;
    constexpr int BoxHeight = 22;
    const int boxWidth = grid.columnWidth - 10;
    const int columnsLeft = grid.left + grid.rowLabelWidth;
    const int boxesTop = grid.top + 2 * (CaptionHeight + 2) + 2;
    auto caption = [&](const std::string& name, const std::string& text, Geometry where) {
        if (!text.empty())
            addCaption(grid.prefix + name, text, where);
        return text.empty() ? std::string() : grid.prefix + name;
    };
    std::vector<std::string> groupOfColumn;
    int x = columnsLeft;
    for (size_t g = 0; g < grid.groups.size(); ++g) {
        const auto& [text, span] = grid.groups[g];
        std::string name = caption("Group" + std::to_string(g + 1), text,
                                   Geometry{x, grid.top, span * grid.columnWidth, CaptionHeight});
        groupOfColumn.insert(groupOfColumn.end(), static_cast<size_t>(span), name);
        x += span * grid.columnWidth;
    }
    groupOfColumn.resize(grid.columns.size());
    std::vector<std::string> columnNames;
    for (size_t c = 0; c < grid.columns.size(); ++c)
        columnNames.push_back(
            caption("Column" + std::to_string(c + 1), grid.columns[c],
                    Geometry{columnsLeft + static_cast<int>(c) * grid.columnWidth,
                             grid.top + CaptionHeight + 2, grid.columnWidth, CaptionHeight}));
    std::string header = caption(
        "RowHeader", grid.rowHeader,
        Geometry{grid.left, grid.top + CaptionHeight + 2, grid.rowLabelWidth, CaptionHeight});
    int number = grid.firstBox;
    for (size_t r = 0; r < grid.rows.size(); ++r) {
        int y = boxesTop + static_cast<int>(r) * RowHeight;
        std::string row = caption("Row" + std::to_string(r + 1), grid.rows[r],
                                  Geometry{grid.left, y + 2, grid.rowLabelWidth, CaptionHeight});
        for (size_t c = 0; c < grid.columns.size(); ++c) {
            int boxLeft = columnsLeft + static_cast<int>(c) * grid.columnWidth + 5;
            addBox(number++, Geometry{boxLeft, y, boxWidth, BoxHeight},
                   {groupOfColumn[c], columnNames[c]}, {header, row});
        }
    }
    return boxesTop + static_cast<int>(grid.rows.size()) * RowHeight;
}

long RatePage::lastLine(const std::vector<RateRun>& runs) {
    long last = 0;
    for (const RateRun& run : runs)
        last = std::max(last, run.firstLine + run.count - 1);
    return last;
}

bool RatePage::edit(const std::string& heading, const std::string& okCaption, SettingsList& rates,
                    const std::vector<RateRun>& runs) {
    form_.control("RateDlogHdr").setCaption(heading);
    form_.control("OKBtn").setCaption(okCaption);
    for (const RateRun& run : runs)
        for (int i = 0; i < run.count; ++i)
            box(run.firstBox + i).setText(rates[run.firstLine + i]);
    // The page opens for its rates, whatever closed it last time.
    if (!runs.empty())
        form_.setFocusControl(boxName(runs.front().firstBox));
    if (form_.showModal() != ModalResult::Ok)
        return false;
    for (const RateRun& run : runs)
        for (int i = 0; i < run.count; ++i)
            rates.set(run.firstLine + i, box(run.firstBox + i).text());
    return true;
}

void RatePage::FormActivate() {
    ctx_.platform.help.setHelpFile(ctx_.helpFilePath());
}

void RatePage::HelpBtnClick() {
    showHelpTopic(ctx_, form_.helpContext());
}

// The reports convert every rate to a number; a rate that is not one would only fail
// there, long after the user could have corrected it.
void RatePage::OKBtnClick() {
    for (const auto& control : form_.controls()) {
        if (control->kind() != ControlKind::Edit || !control->visible())
            continue;
        double value = 0;
        if (tryStrToFloat(control->text(), value))
            continue;
        ctx_.message(BeepKind::Exclamation, MessageKind::Warning, MessageButtons::Ok,
                     "Please enter the rate \"" + describe(control->name()) +
                         "\" as a decimal number of dollars, such as 0.25.");
        form_.setFocusControl(control->name());
        form_.setModalResult(ModalResult::None);
        return;
    }
}

std::string RatePage::joinCaptions(const std::vector<std::string>& names) const {
    std::string text;
    for (const std::string& name : names) {
        if (name.empty())
            continue;
        std::string caption = form_.control(name).caption();
        if (!caption.empty() && caption.back() == ':')
            caption.pop_back();
        if (caption.empty())
            continue;
        text += (text.empty() ? "" : " ") + caption;
    }
    return text;
}

// In the captions the page shows now, so that a page that renames a column (the
// In-County page) is described as the user sees it.
std::string RatePage::describe(const std::string& name) const {
    auto it = captionsOf_.find(name);
    if (it == captionsOf_.end())
        return name;
    std::string columns = joinCaptions(it->second.columns);
    std::string rows = joinCaptions(it->second.rows);
    if (columns.empty() || rows.empty())
        return columns + rows;
    return columns + ", " + rows;
}

} // namespace quillan
