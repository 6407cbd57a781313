#pragma once

#include "app/ProgramPrintSession.h"
#include "tests/core/postage/PostageFixture.h"
#include "tests/reports/ScriptedPrintJob.h"

#include <string>
#include <vector>

namespace quillan::test {

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
    ScriptedPrintJob job;
    PrintSession session;

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
