#include "tests/reports/QualificationRig.h"
#include "tests/support/MailingOf.h"

#include "reports/QualificationReport.h"
#include "tests/support/SortTables.h"

#include <algorithm>
#include <sstream>

namespace quillan::test {

QualificationRig::QualificationRig(MailClass mailClass, platform::RecordingPrinter::Setup setup)
    : env(geographyFolder()), printer(setup),
      context(std::make_unique<AppContext>(
          platform::Platform{env.ui, printer, env.help, env.shell, env.config},
          platform::resolveProgramPaths(env.folder()))),
      ctx(*context), session(programPrintSession(ctx, job, env.notices)) {
    ctx.setNotices(env.notices);
    env.load();
    // The loaded lists go with the context the report prints from.
    ctx.lists = env.context().lists;
    ctx.listsLoaded = true;
    work.mailClass = mailClass;
    session.programVersion = "6.2.4";
    session.ratesDate = "4/1/03";
    work.tables.pieces.resize(1000);
}

int32_t QualificationRig::container(const std::string& label, const std::string& level,
                                    std::optional<ContainerKind> kind) {
    Container tray = test::container(0, label, "None", level);
    tray.kind = kind.value_or(tray.kind);
    work.tables.containers.push_back(tray);
    return static_cast<int32_t>(work.tables.containers.size()) - 1;
}

int32_t QualificationRig::group(const std::string& label, int32_t pieces, int32_t k,
                                bool nonbarcoded) {
    addSortGroup(work.tables, nonbarcoded, pieces, label, k + 1);
    work.tables.containers[static_cast<size_t>(k)].pieces += pieces;
    return static_cast<int32_t>(work.tables.sortGroups.size()) - 1;
}

void QualificationRig::zip(int32_t zip, int32_t pieces, int32_t g, int32_t inCounty) {
    work.tables.zipGroups.push_back({zip, pieces, inCounty, g});
}

void QualificationRig::fiveDigitTrays(int n, int32_t pieces) {
    for (int i = 0; i < n; ++i) {
        std::string zip = std::to_string(75201 + i);
        group("5D " + zip, pieces, container("DALLAS TX " + zip, "5-Digit"));
    }
}

SortedMailing QualificationRig::mailing() {
    return test::mailingOf(work, ctx.lists);
}

void QualificationRig::print() {
    SortedMailing m = mailing();
    PrintQualificationReport(session, m);
}

std::vector<DrawnText> QualificationRig::texts() const {
    std::vector<DrawnText> out;
    int document = 0, sheet = 1, size = 10;
    bool bold = false, underline = false;
    for (const std::string& entry : printer.log()) {
        std::istringstream in(entry);
        std::string verb;
        in >> verb;
        if (verb == "begindoc") {
            ++document;
            sheet = 1;
        } else if (verb == "newpage") {
            ++sheet;
        } else if (verb == "font") {
            std::string name, style;
            in >> name >> size >> style;
            bold = style.find('B') != std::string::npos;
            underline = style.find('U') != std::string::npos;
        } else if (verb == "text") {
            DrawnText t{document, sheet, 0, 0, 0, "", bold, underline};
            in >> t.x >> t.y;
            std::getline(in, t.text);
            t.text.erase(0, 1);
            // The recording metric at 72 dots an inch: 5 dots a character, 6 in bold at 10 pt.
            int perCharacter = (size * printer.dpiX() * (bold ? 55 : 50) + 3600) / 7200;
            t.right = t.x + perCharacter * static_cast<int>(t.text.size());
            out.push_back(t);
        }
    }
    return out;
}

std::optional<DrawnText> QualificationRig::find(const std::string& text, size_t after) const {
    std::vector<DrawnText> all = texts();
    for (size_t i = after; i < all.size(); ++i)
        if (all[i].text == text)
            return all[i];
    return std::nullopt;
}

std::vector<DrawnText> QualificationRig::lineOf(const std::string& text, size_t after) const {
    std::optional<DrawnText> first = find(text, after);
    std::vector<DrawnText> line;
    if (!first)
        return line;
    for (const DrawnText& t : texts())
        if (t.document == first->document && t.sheet == first->sheet && t.y == first->y)
            line.push_back(t);
    return line;
}

std::string QualificationRig::textEndingAt(int right, int y) const {
    for (const DrawnText& t : texts())
        if (t.right == right && t.y == y)
            return t.text;
    return {};
}

long QualificationRig::count(const std::string& text) const {
    std::vector<DrawnText> all = texts();
    return std::count_if(all.begin(), all.end(),
                         [&](const DrawnText& t) { return t.text == text; });
}

std::vector<std::string> QualificationRig::summaryRows(const std::string& heading,
                                                       size_t occurrence) const {
    std::vector<DrawnText> all = texts();
    size_t i = 0;
    for (size_t seen = 0; i < all.size(); ++i)
        if (all[i].text == heading && seen++ == occurrence)
            break;
    std::vector<std::string> rows;
    for (i += 2; i + 1 < all.size() && all[i].x == 36 && all[i].text != "Zone Summary"; i += 2) {
        std::string row = all[i].text + "=" + all[i + 1].text + (all[i + 1].underline ? "_" : "");
        rows.push_back((all[i].bold ? "*" : "") + row);
        if (i + 2 < all.size() && all[i + 2].x == 230 && all[i + 2].y == all[i].y)
            rows.back() += " !" + all[++i + 1].text.substr(0, 8);
    }
    return rows;
}

} // namespace quillan::test
