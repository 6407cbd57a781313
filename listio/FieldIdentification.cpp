#include "listio/FieldIdentification.h"

#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/FieldGuess.h"
#include "listio/FieldRoles.h"
#include "listio/ListKinds.h"
#include "listio/VerifyDialog.h"

namespace quillan {

using namespace platform;

namespace {

std::vector<std::vector<std::string>> firstRecords(ListSource& source, int fieldCount) {
    std::vector<std::vector<std::string>> records;
    for (long k = 1; k <= 3; ++k) {
        ListRecord record;
        if (!source.read(k, fieldCount, record))
            record.fields.clear();
        records.push_back(std::move(record.fields));
    }
    return records;
}

void writeExchange(AppContext& ctx, VerifyDialog& dialog, const std::string& path, long n,
                   int fieldCount) {
    std::vector<std::string> lines = {ctx.ListFileKind, path, intToStr(n), intToStr(fieldCount)};
    for (const auto& role : fieldRoles())
        lines.push_back(intToStr(ctx.list.*role.column));
    dialog.memo().setLines(std::move(lines));
}

void readExchange(AppContext& ctx, VerifyDialog& dialog) {
    const auto& lines = dialog.memo().lines();
    const auto& roles = fieldRoles();
    for (size_t i = 0; i < roles.size(); ++i) {
        size_t line = FirstRoleLine + i;
        int32_t column = -1;
        if (line < lines.size() && tryStrToInt(lines[line], column))
            ctx.list.*roles[i].column = column;
    }
}

} // namespace

long IdentifyFields(AppContext& ctx, VerifyDialog& dialog, ListSource& source,
                    const std::string& path, long n, int fieldCount) {
    ctx.list.resetRoles();
    std::vector<std::string> names = source.fieldNames();
    for (auto& name : names)
        name = upperAscii(name);
    applyFieldKeywords(ctx.list, names);
    if (ctx.list.ZipColumn == -1)
        guessFieldsFromContent(ctx.list, firstRecords(source, fieldCount), fieldCount);
    adjustZipRoles(ctx.list);
    writeExchange(ctx, dialog, path, n, fieldCount);
    ctx.platform.ui.setBusyCursor(false);

    std::string mode = ctx.runMode();
    bool unattended = mode == "DUZIZ" || mode == "NOSTOP";
    for (;;) {
        if (!unattended && dialog.showModal() == ModalResult::Cancel)
            return 0;
        readExchange(ctx, dialog);
        std::vector<std::string> problems = checkFieldRoles(ctx, ctx.ListFileKind);
        for (const auto& problem : problems)
            ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                        mode == "DUZIZ" ? "Your VaveVedadov file is not set up properly. "
                                          "Please contact Duziz for help."
                                        : problem);
        if (problems.empty())
            return n;
        // Unattended, nobody can mend the roles: asking again would never end.
        if (unattended)
            return 0;
    }
}

} // namespace quillan
