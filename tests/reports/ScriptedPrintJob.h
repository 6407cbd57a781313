#pragma once

#include "reports/PrintJobControl.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillan::test {

// The print dialogs as a test answers them: whether to print, the range and the copies, and
// the "Printing" box's Cancel; and a log of what the report asked of them: "ask <caption>",
// "page <n>" as the "Printing" box shows a page, "close" as it closes.
class ScriptedPrintJob : public PrintJobControl {
public:
    bool prints = true;
    int from = 1;
    int to = 9999;
    int copies = 1;
    // Called as the box shows each page, as a person's click on Cancel would come.
    std::function<void(int32_t page)> onPageShown;
    bool cancelPressed = false;
    std::vector<std::string> log;

    bool askToPrint(const std::string& caption, std::optional<AfterSortReport>) override {
        log.push_back("ask " + caption);
        return prints;
    }
    std::optional<ReportChoice> chooseReports(const ReportChoice& ticked, bool) override {
        return ticked;
    }
    int fromPage() const override { return from; }
    int toPage() const override { return to; }
    int copyCount() const override { return copies; }
    void showPrintingPage(int32_t page) override {
        log.push_back("page " + std::to_string(page));
        if (onPageShown)
            onPageShown(page);
    }
    void closePrintingBox() override { log.push_back("close"); }
    bool printingBoxWatched() const override { return true; }
    void processPendingInput() override {}
    bool cancelRequested() const override { return cancelPressed; }
    void clearCancel() override { cancelPressed = false; }

    // The captions asked under, and the pages the box showed, in order.
    std::vector<std::string> captions() const { return entries("ask "); }
    std::vector<int32_t> pagesShown() const {
        std::vector<int32_t> pages;
        for (const std::string& page : entries("page "))
            pages.push_back(std::stoi(page));
        return pages;
    }

private:
    std::vector<std::string> entries(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& entry : log)
            if (entry.rfind(prefix, 0) == 0)
                found.push_back(entry.substr(prefix.size()));
        return found;
    }
};

} // namespace quillan::test
