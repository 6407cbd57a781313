#include "tests/printouts/TagRig.h"
#include "tests/support/MailingOf.h"

#include "app/DataFiles.h"
#include "tests/support/SortTables.h"

namespace quillan::test {

platform::RecordingPrinter::Setup TagRig::letterAt(int dpi, platform::Point offset) {
    platform::RecordingPrinter::Setup setup;
    setup.dpiX = setup.dpiY = dpi;
    setup.pageWidth = dpi * 17 / 2;
    setup.pageHeight = dpi * 11;
    setup.offset = offset;
    return setup;
}

TagRig::TagRig(const std::string& classCode, platform::RecordingPrinter::Setup setup,
               std::vector<std::string> parameters)
    : env(geographyFolder()), printer(setup),
      ctx(platform::Platform{env.ui, printer, env.help, env.shell, env.config},
          platform::resolveProgramPaths(env.folder()), std::move(parameters)) {
    start(classCode);
}

TagRig::TagRig(const std::string& classCode, platform::PrinterDevice& device)
    : env(geographyFolder()),
      ctx(platform::Platform{env.ui, device, env.help, env.shell, env.config},
          platform::resolveProgramPaths(env.folder())) {
    start(classCode);
}

void TagRig::start(const std::string& classCode) {
    ctx.setNotices(env.notices);
    ctx.dataFolder = ctx.paths.dataFolder;
    LoadDataFiles(ctx);
    work.mailClass = MailClass::fromCode(classCode).value();
    afterSortChoice(1, 9999);
    session.justSorted = false;
}

int32_t TagRig::container(const std::string& label, int32_t pieces, const std::string& level,
                          const std::string& entry) {
    addContainer(work.tables, pieces, label, entry, level);
    return static_cast<int32_t>(work.tables.containers.size()) - 1;
}

int32_t TagRig::group(const std::string& label, int32_t pieces, int32_t container,
                      bool nonbarcoded) {
    addSortGroup(work.tables, nonbarcoded, pieces, label, container + 1);
    return static_cast<int32_t>(work.tables.sortGroups.size()) - 1;
}

void TagRig::zip(int32_t zip, int32_t pieces, int32_t owner, int32_t inCounty) {
    work.tables.zipGroups.push_back({zip, pieces, inCounty, owner});
}

int32_t TagRig::filledContainer(const std::string& label, int32_t pieces, int32_t zipCode,
                                const std::string& groupLabel, const std::string& level) {
    int32_t k = container(label, pieces, level);
    zip(zipCode, pieces, group(groupLabel, pieces, k));
    return k;
}

SortedMailing TagRig::mailing() {
    return test::mailingOf(work, ctx.lists);
}

void TagRig::afterSortChoice(int from, int to, int copies) {
    platform::Form& form = select.form();
    form.control("FromPage").setText(std::to_string(from));
    form.control("ToPage").setText(std::to_string(to));
    form.control("Copies").setItemIndex(copies - 1);
    form.control("TagReport").setChecked(true);
    session.justSorted = true;
}

std::vector<std::string> TagRig::entries(const std::string& word) const {
    std::vector<std::string> out;
    for (const std::string& entry : printer.log())
        if (entry.rfind(word + " ", 0) == 0 || entry == word)
            out.push_back(entry);
    return out;
}

} // namespace quillan::test
