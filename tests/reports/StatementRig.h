#pragma once

#include "reports/PrintJobControl.h"
#include "tests/core/postage/PostageFixture.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillan::test {

// The print dialogs as a test answers them: print or not, the range and the copies, and
// what the "Printing" box was asked to show.
class ScriptedJob : public PrintJobControl {
public:
    bool answer = true;
    int from = 1;
    int to = 9999;
    int copies = 1;
    // Called as the box shows each page, so that a test can press Cancel.
    std::function<void(int32_t page)> onPage;
    std::vector<std::string> log;

    bool askToPrint(const std::string& caption, std::optional<AfterSortReport>) override {
        log.push_back("ask " + caption);
        return answer;
    }
    std::optional<ReportChoice> chooseReports(const ReportChoice&, bool) override { return {}; }
    int fromPage() const override { return from; }
    int toPage() const override { return to; }
    int copyCount() const override { return copies; }
    void showPrintingPage(int32_t page) override {
        log.push_back("page " + std::to_string(page));
        if (onPage)
            onPage(page);
    }
    void closePrintingBox() override { log.push_back("close"); }
};

// A text the recording printer drew, its place turned back into points.
struct PrintedText {
    int document = 0;
    int page = 0;
    double left = 0;
    double right = 0;
    double y = 0;
    int size = 0;
    std::string text;
};

// A statement printed on the recording printer (600 dpi, no offset) from a sort built by
// hand, with the forms the build drew.
class StatementRig {
public:
    StatementRig();

    PostageFixture fixture;
    ScriptedJob job;

    AppContext& ctx() { return fixture.ctx; }
    void statement(long line, std::string text) {
        fixture.ctx.lists.statementList.set(line, std::move(text));
    }
    void print();

    const std::vector<std::string>& log() const { return fixture.env.printer.log(); }
    int count(const std::string& prefix) const;
    std::vector<PrintedText> texts() const;
    // The texts of one page of the first document, in drawing order.
    std::vector<PrintedText> page(int number) const;
    // The first text of that content on the page; fails the test when there is none.
    PrintedText find(int page, const std::string& text) const;
    bool has(int page, const std::string& text) const;
};

} // namespace quillan::test
