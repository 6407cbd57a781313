// Every line of every rate block, under every payment and rate category, lands on a row
// of its form whose printed caption names the line's entry discount, level and kind: the
// row tables of the statement checked against the form descriptions the pictures are
// drawn from. With rates.dat line k holding k / 10000, each line's amount tells which
// rates.dat line it read.

#include "reports/StatementRows.h"
#include "core/postage/StatementPostage.h"
#include "reports/StatementFormChoice.h"
#include "reports/StatementPageTwo.h"
#include "reports/StatementSections.h"
#include "tests/core/postage/PostageFixture.h"
#include "tools/statement-forms/FormDescription.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace quillan;

namespace {

struct SampleMailing {
    MailClass mailClass;
    bool permit = true;
    std::string rateCategory = "0"; // mailtype.dat line 2
    std::string weight;             // exact weight in ounces, or none
};

std::string describe(const SampleMailing& m) {
    return std::string(m.mailClass.code()) + (m.permit ? " permit" : " affixed") + " rate " +
           m.rateCategory + (m.weight.empty() ? "" : " " + m.weight + " oz");
}

std::string familyFile(const std::string& form) {
    std::string name = "3602.form";
    if (form.rfind("3600", 0) == 0)
        name = "3600.form";
    else if (form == "3541a")
        name = "3541a.form";
    else if (form.back() == 's')
        name = "3602s.form";
    else if (form.find('h') != std::string::npos)
        name = "3602h.form";
    return std::string(QUILLAN_TEST_DATA) + "/../../tools/statement-forms/" + name;
}

// The captions of the rows of page 2, by section and row.
std::map<std::pair<char, int>, std::string> rowCaptions(const std::string& form) {
    std::map<std::pair<char, int>, std::string> captions;
    for (const formgen::FormSpec& spec : formgen::readFamily(familyFile(form)))
        if (spec.name == form)
            for (const formgen::Item& item : spec.pages[1])
                if (item.kind == formgen::Item::Kind::Label)
                    captions[{item.section, static_cast<int>(item.numbers[0])}] = item.text;
    return captions;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Whether a row's caption fits a rate line: its entry discount before the colon, its level
// (5-Digit is not 3/5, AADC is not Mixed AADC), letters or flats, automation or presorted.
std::string misfit(const std::string& caption, const RateBlockLine& line, MailClass mailClass,
                   char section) {
    std::string entry(entryText(line.category.entry));
    size_t colon = caption.find(':');
    if (colon != std::string::npos && caption.substr(0, colon) != entry)
        return "entry " + entry;
    std::string level(levelText(line.category.level));
    std::string word = level == "3/5-Digit" ? "3/5" : level;
    if (!contains(caption, word) || (word == "5-Digit" && contains(caption, "3/5")) ||
        (word == "AADC" && contains(caption, "Mixed") && level != "Mixed AADC"))
        return "level " + level;
    std::string text = lower(caption);
    if ((section == 'A' || section == 'B') && contains(text, "letters") != mailClass.isLetters())
        return "letters or flats";
    bool automation = mailClass.isCoSacked() ? line.category.part == CoSackedPart::Automation
                                             : mailClass.isAutomation();
    if (section == 'D' && contains(text, "automation") != automation)
        return "automation or presorted";
    if (section == 'P' && text.rfind(lower(std::string(line.label)), 0) != 0)
        return "kind " + std::string(line.label);
    return "";
}

class StatementRows : public ::testing::Test {
protected:
    void walk(const SampleMailing& m);
};

void StatementRows::walk(const SampleMailing& m) {
    SCOPED_TRACE(describe(m));
    test::PostageFixture f;
    f.indexRates();
    f.useClass(m.mailClass);
    f.mailType(2, m.rateCategory);
    f.mailType(4, m.weight.empty() ? "0" : "1");
    f.mailType(5, m.weight.empty() ? "1" : m.weight);
    f.payment(m.permit ? "0" : "1");
    SortedMailing mailing = f.mailing();
    StatementPostage postage = computeStatementPostage(mailing);
    const RateBlock& block = postage.block;
    ASSERT_GT(block.number, 0);

    // Each line shows its index as its quantity and the rates.dat line it read as its
    // amount.
    StatementLines marked(m.permit);
    for (size_t i = 0; i < postage.lines.size(); ++i) {
        std::string read;
        if (i < block.lines.size())
            read = "L" + std::to_string(
                             std::lround(rateOf(mailing.rates(), block.lines[i]).value * 10000));
        marked.add({"#" + std::to_string(i), read, ""});
    }
    postage.lines = marked;

    std::string form = statementFormName(m.mailClass, mailing.mailType(), m.permit);
    auto captions = rowCaptions(form);
    StatementPayment payment = m.permit                ? StatementPayment::Permit
                               : m.rateCategory == "0" ? StatementPayment::AffixedRegular
                                                       : StatementPayment::AffixedNonprofit;
    std::vector<StatementText> printed = pageTwoTexts(mailing, postage);
    std::set<size_t> placed;
    std::set<std::pair<char, int>> rowsTaken;
    for (const LinePlacement& p : statementLinePlacements(block.number, m.mailClass, m.permit)) {
        SCOPED_TRACE("line " + std::to_string(p.line) + " in " + std::string(1, p.section) +
                     std::to_string(p.row));
        EXPECT_TRUE(placed.insert(p.line).second) << "placed twice";
        EXPECT_TRUE(rowsTaken.insert({p.section, p.row}).second) << "row taken twice";
        int y = statementSectionRowY(p.section, p.row, payment);
        ASSERT_GT(y, 0) << "a row the form does not have";
        auto caption = captions.find({p.section, p.row});
        ASSERT_NE(caption, captions.end()) << form << " has no caption for the row";

        auto shown = std::find_if(printed.begin(), printed.end(), [&](const StatementText& t) {
            return t.text == "#" + std::to_string(p.line);
        });
        ASSERT_NE(shown, printed.end());
        EXPECT_EQ(shown->y, y);
        EXPECT_EQ(shown->x, statementSectionColumns(p.section)->quantityX);
        if (p.line >= block.lines.size())
            continue; // the Periodicals charges have captions of their own
        const RateBlockLine& line = block.lines[p.line];
        auto amount = std::find_if(printed.begin(), printed.end(), [&](const StatementText& t) {
            return t.y == y && t.x == statementSectionColumns(p.section)->amountX;
        });
        ASSERT_NE(amount, printed.end());
        EXPECT_EQ(amount->text, "L" + std::to_string(line.rateLine + line.surchargeLine))
            << "the rates.dat line read";

        std::string text = caption->second;
        if (line.isPoundLine() && m.permit) {
            EXPECT_EQ(lower(text).find("plus pounds") != std::string::npos, true) << text;
            text = captions[{p.section, p.row - 1}];
        }
        EXPECT_EQ(misfit(text, line, m.mailClass, p.section), "") << "caption: " << text;
    }

    // With postage affixed, a pound line carries its piece line: the pair prints once.
    for (size_t i = 0; i < block.lines.size(); ++i) {
        bool pairedPiece =
            !m.permit && i + 1 < block.lines.size() && block.lines[i + 1].isPoundLine();
        EXPECT_EQ(placed.count(i), pairedPiece ? 0u : 1u) << "line " << i;
    }
}

} // namespace

TEST_F(StatementRows, EveryStandardLineLandsOnItsRow) {
    for (MailClass c : {MailClass::RML, MailClass::RNML, MailClass::RNAF, MailClass::RAL,
                        MailClass::RAF, MailClass::RCOF})
        for (bool permit : {true, false})
            for (std::string rates : {"0", "2"})
                for (std::string weight : {"", "3.0", "4.0"})
                    walk({c, permit, rates, weight});
}

TEST_F(StatementRows, EveryFirstClassAndPeriodicalsLineLandsOnItsRow) {
    for (bool permit : {true, false}) {
        walk({MailClass::FAL, permit, "0", "2.5"});
        walk({MailClass::FAL, permit, "1", ""});
    }
    for (MailClass c :
         {MailClass::PNAL, MailClass::PNAF, MailClass::PAL, MailClass::PAF, MailClass::PCOF})
        walk({c, true, "0", "2"});
}
