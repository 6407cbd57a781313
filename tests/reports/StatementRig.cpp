#include "tests/reports/StatementRig.h"

#include "reports/PostageStatement.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quillan::test {

namespace {

constexpr double DotsPerPoint = 600.0 / 72.0;

// The recording canvas's width of one character: half the size in dots, rounded.
int characterWidth(int size) {
    return (size * 600 * 50 + 3600) / 7200;
}

} // namespace

StatementRig::StatementRig() : session(programPrintSession(fixture.ctx, job, fixture.env.notices)) {
    fixture.env.copyStatementForms();
    session.programVersion = "6.2.4";
    session.ratesDate = "1/5/2025";
}

void StatementRig::print() {
    SortedMailing mailing = fixture.mailing();
    PrintPostageStatement(session, mailing);
}

int StatementRig::count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& entry : log())
        if (entry.rfind(prefix, 0) == 0)
            ++n;
    return n;
}

std::vector<PrintedText> StatementRig::texts() const {
    std::vector<PrintedText> texts;
    int document = 0;
    int page = 0;
    int size = 0;
    for (const std::string& entry : log()) {
        std::istringstream in(entry);
        std::string word;
        in >> word;
        if (word == "begindoc") {
            ++document;
            page = 1;
        } else if (word == "newpage") {
            ++page;
        } else if (word == "font") {
            std::string name;
            in >> name >> size;
        } else if (word == "text") {
            int x = 0;
            int y = 0;
            in >> x >> y;
            std::string text;
            std::getline(in, text);
            text = text.substr(1);
            int width = static_cast<int>(text.size()) * characterWidth(size);
            texts.push_back({document, page, x / DotsPerPoint, (x + width) / DotsPerPoint,
                             y / DotsPerPoint, size, text});
        }
    }
    return texts;
}

std::vector<PrintedText> StatementRig::page(int number) const {
    std::vector<PrintedText> out;
    for (const PrintedText& t : texts())
        if (t.document == 1 && t.page == number)
            out.push_back(t);
    return out;
}

bool StatementRig::has(int pageNumber, const std::string& text) const {
    for (const PrintedText& t : page(pageNumber))
        if (t.text == text)
            return true;
    return false;
}

PrintedText StatementRig::find(int pageNumber, const std::string& text) const {
    for (const PrintedText& t : page(pageNumber))
        if (t.text == text)
            return t;
    ADD_FAILURE() << "\"" << text << "\" is not on page " << pageNumber;
    return {};
}

} // namespace quillan::test
