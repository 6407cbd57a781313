#include "listio/HeadingRecord.h"

#include "core/Convert.h"
#include "listio/FieldGuess.h"

namespace quillan {

int headingTestField(const FieldRoles& roles) {
    return roles.zipColumn != -1 ? roles.zipColumn : roles.zip5Column;
}

bool namesTheFields(const std::string& zipFieldText) {
    return upperAscii(zipFieldText).find("ZIP") != std::string::npos;
}

bool isNamingRecord(const std::vector<std::string>& firstRecord, const FieldRoles& roles) {
    const int zipField = headingTestField(roles);
    if (zipField >= 0 && static_cast<size_t>(zipField) < firstRecord.size() &&
        namesTheFields(firstRecord[static_cast<size_t>(zipField)]))
        return true;
    std::vector<std::string> names;
    for (const std::string& field : firstRecord)
        names.push_back(upperAscii(field));
    FieldRoles named;
    applyFieldKeywords(named, names);
    for (int FieldRoles::*role : FieldRoles::all)
        if (named.*role != -1 && named.*role == roles.*role)
            return true;
    return false;
}

} // namespace quillan
