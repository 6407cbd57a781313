#include "tests/printouts/InstructionsRig.h"
#include "tests/support/MailingOf.h"

#include "core/presort/PresortDriver.h"
#include "printouts/MailPrepInstructions.h"
#include "tests/core/presort/PresortHarness.h"

#include <gtest/gtest.h>
#include <sstream>

namespace quillan::test {

InstructionsRig::InstructionsRig(const std::string& category, const std::string& size)
    : rig("RAL") {
    mailType(MailTypeSettings::Category, category);
    mailType(MailTypeSettings::SizeCategory, size);
    afterSortChoice(1, 9999);
}

InstructionsRig::InstructionsRig(const std::string& category, const std::string& size,
                                 platform::PrinterDevice& device)
    : rig("RAL", device) {
    mailType(MailTypeSettings::Category, category);
    mailType(MailTypeSettings::SizeCategory, size);
    afterSortChoice(1, 9999);
}

InstructionsRig::InstructionsRig(const std::string& classCode) : rig(classCode) {
    afterSortChoice(1, 9999);
}

const SortedMailing& InstructionsRig::built(const std::vector<Piece>& rejected) {
    WorkTables& t = rig.work.tables;
    t.pieces.clear();
    for (const ZipGroup& zip : t.zipGroups)
        for (int32_t n = 0; n < zip.pieces; ++n)
            t.pieces.push_back({.zip = std::abs(zip.zip), .withoutZip4 = zip.zip < 0});
    t.pieces.insert(t.pieces.end(), rejected.begin(), rejected.end());
    rig.work.counters.rejectedCount = static_cast<int32_t>(rejected.size());
    mailing.emplace(rig.mailing());
    return *mailing;
}

const SortedMailing& InstructionsRig::sort(const std::string& pieces) {
    fillPieces(rig.work, pieces);
    mailing.emplace(test::runPresort(rig.work, ctx()));
    return *mailing;
}

void InstructionsRig::afterSortChoice(int from, int to, int copies) {
    rig.afterSortChoice(from, to, copies);
    rig.select.form().control("SortReport").setChecked(true);
}

void InstructionsRig::printInstructions() {
    PrintMailPrepInstructions(rig.run, *mailing, MailPrepReport::Instructions);
}

void InstructionsRig::printVerification(int from, int to) {
    session().justSorted = false;
    rig.env.ui.whenShown("PrintSelectDlog", [from, to](platform::Form& form) {
        form.control("FromPage").userSetText(std::to_string(from));
        form.control("ToPage").userSetText(std::to_string(to));
        form.control("OKBtn").userClick();
    });
    PrintMailPrepInstructions(rig.run, *mailing, MailPrepReport::Verification);
}

std::vector<DrawnText> InstructionsRig::texts() const {
    std::vector<DrawnText> out;
    int sheet = 1;
    for (const std::string& entry : rig.printer.log()) {
        if (entry == "begindoc")
            sheet = 1;
        if (entry == "newpage")
            ++sheet;
        if (entry.rfind("text ", 0) != 0)
            continue;
        std::istringstream in(entry.substr(5));
        DrawnText t{sheet, 0, 0, ""};
        in >> t.x >> t.y;
        std::getline(in, t.text);
        t.text.erase(0, 1);
        out.push_back(t);
    }
    return out;
}

std::vector<DrawnText> InstructionsRig::find(const std::string& text, bool ending) const {
    std::vector<DrawnText> found;
    for (const DrawnText& t : texts()) {
        bool match = ending
                         ? t.text.size() >= text.size() &&
                               t.text.compare(t.text.size() - text.size(), text.size(), text) == 0
                         : t.text == text;
        if (match)
            found.push_back(t);
    }
    return found;
}

} // namespace quillan::test

namespace quillan::test {

DrawnText InstructionsRig::only(const std::string& text) const {
    std::vector<DrawnText> found = find(text);
    EXPECT_EQ(found.size(), 1u) << text;
    return found.empty() ? DrawnText{0, 0, 0, ""} : found[0];
}

} // namespace quillan::test
