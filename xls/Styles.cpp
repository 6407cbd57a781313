#include "xls/Styles.h"

#include "xls/XlsError.h"

namespace xls {

void Styles::addStyle(std::string_view body) {
    if (body.size() < 4)
        throw XlsError("record too short");
    Body copy{};
    for (size_t i = 0; i < copy.size(); ++i)
        copy[i] = static_cast<uint8_t>(body[i]);
    bodies_.push_back(copy);
}

} // namespace xls
