#include "listio/HeadingRecord.h"

#include "core/Convert.h"

namespace quillan {

int headingTestField(const FieldRoles& roles) {
    return roles.zipColumn != -1 ? roles.zipColumn : roles.zip5Column;
}

bool namesTheFields(const std::string& zipFieldText) {
    return upperAscii(zipFieldText).find("ZIP") != std::string::npos;
}

} // namespace quillan
