#include "listio/FieldIdentification.h"

#include "core/BusyCursor.h"
#include "core/Convert.h"
#include "listio/FieldChecks.h"
#include "listio/FieldGuess.h"
#include "listio/ListFormat.h"

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
                                                   const ListFormat& format) {
    if (format.paddedRecords) {
        std::vector<std::string> first = recordFields(source, 1, fieldCount);
        return {first, first, first};
    }
    std::vector<std::vector<std::string>> records;
    for (long k = 1; k <= 3; ++k)
        records.push_back(recordFields(source, k, fieldCount));
    return records;
}

// Tells each check the roles fail, as the list is now; true when they pass them all. A list
// started by the barcoding partner is told only that it is not set up properly.
bool tellRoleProblems(ListOpening& opening, const FieldRoles& roles) {
    ListState checked = opening.state();
    checked.roles() = roles;
    std::vector<std::string> problems =
        checkFieldRoles(checked, opening.settings, opening.format());
    for (const auto& problem : problems)
        opening.notices().tell({BeepKind::Hand, MessageKind::Error, MessageButtons::Ok,
                                opening.request.reader == ListReader::Partner
                                    ? "Your VaveVedadov file is not set up properly. "
                                      "Please contact Duziz for help."
                                    : problem});
    return problems.empty();
}

} // namespace

// The roles the person confirms or corrects, or nothing when the person cancelled. Roles
// that fail a check are told of over the open dialog, which stays for them to be mended.
std::optional<FieldRoles> confirmedRoles(ListOpening& opening, ListSource& source, long n,
                                         int fieldCount, const FieldRoles& roles) {
    ArrowCursor arrow(opening.notices());
    return opening.people.fields.confirm(
        {&opening.format(), opening.reading.list.path, n, fieldCount, roles, &source,
         [&opening](const FieldRoles& chosen) { return tellRoleProblems(opening, chosen); }});
}

long IdentifyFields(ListOpening& opening, ListSource& source, long n, int fieldCount) {
    FieldRoles& roles = opening.state().roles();
    roles.resetRoles();
    std::vector<std::string> names = source.fieldNames();
    for (auto& name : names)
        name = upperAscii(name);
    applyFieldKeywords(roles, names);
    if (roles.zipColumn == -1)
        guessFieldsFromContent(roles, firstRecords(source, fieldCount, opening.format()),
                               fieldCount);
    adjustZipRoles(roles);

    const ListReader reader = opening.request.reader;
    for (;;) {
        if (reader == ListReader::Person) {
            std::optional<FieldRoles> chosen =
                confirmedRoles(opening, source, n, fieldCount, roles);
            if (!chosen) {
                opening.cancel();
                return 0;
            }
            roles = *chosen;
        }
        if (tellRoleProblems(opening, roles))
            return n;
        // Without a person nobody can mend the roles: asking again would never end.
        if (reader != ListReader::Person)
            return 0;
    }
}

} // namespace quillan
