#include "listio/ListSource.h"

#include "listio/DbfListSource.h"
#include "listio/ListKinds.h"
#include "listio/TextListSource.h"

namespace quillan {

std::unique_ptr<ListSource> openListSource(const std::string& kind, const std::string& path,
                                           int fieldCount) {
    if (isTextKind(kind))
        return std::make_unique<TextListSource>(kind, path, fieldCount);
    if (kind == KindDbase) {
        DbfHeaderCheck check = readDbfHeader(path);
        if (!check.header)
            return nullptr;
        return std::make_unique<DbfListSource>(path, std::move(*check.header));
    }
    return nullptr;
}

} // namespace quillan
