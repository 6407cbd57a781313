#include "listio/FieldIdentification.h"

#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/FieldGuess.h"
#include "listio/ListKinds.h"

namespace quillan {

using namespace platform;

namespace {

std::vector<std::string> recordFields(ListSource& source, long k, int fieldCount) {
    ListRecord record;
    if (!source.read(k, fieldCount, record))
        record.fields.clear();
    return std::move(record.fields);
}

// The records the content guess votes over: the first three of a text list; for a dBase
// table its first record three times, so that a table of one record still finds its fields.
std::vector<std::vector<std::string>> firstRecords(ListSource& source, int fieldCount,
                                                   const std::string& kind) {
    if (kind == KindDbase) {
        std::vector<std::string> first = recordFields(source, 1, fieldCount);
        return {first, first, first};
    }
    std::vector<std::vector<std::string>> records;
    for (long k = 1; k <= 3; ++k)
        records.push_back(recordFields(source, k, fieldCount));
    return records;
}

} // namespace

long IdentifyFields(AppContext& ctx, FieldChooser& chooser, ListSource& source,
                    const std::string& path, long n, int fieldCount) {
    FieldRoles& roles = ctx.list.roles();
    roles.resetRoles();
    std::vector<std::string> names = source.fieldNames();
    for (auto& name : names)
        name = upperAscii(name);
    applyFieldKeywords(roles, names);
    if (roles.zipColumn == -1)
        guessFieldsFromContent(roles, firstRecords(source, fieldCount, ctx.listFileKind),
                               fieldCount);
    adjustZipRoles(roles);
    ctx.platform.ui.setBusyCursor(false);

    std::string mode = ctx.runMode();
    bool unattended = mode == "DUZIZ" || mode == "NOSTOP";
    for (;;) {
        if (!unattended) {
            std::optional<FieldRoles> chosen =
                chooser.confirm({ctx.listFileKind, path, n, fieldCount, roles, &source});
            if (!chosen)
                return 0;
            roles = *chosen;
        }
        std::vector<std::string> problems = checkFieldRoles(ctx, ctx.listFileKind);
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
