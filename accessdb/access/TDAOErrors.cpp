#include "accessdb/access/TDAOErrors.h"

namespace accessdb {

namespace dao = mdbengine;

std::int16_t TDAOErrors::count() {
    std::int32_t count = 0;
    invoke(
        property(count, [](const dao::Errors& e) { return static_cast<std::int32_t>(e.count()); }));
    return static_cast<std::int16_t>(count);
}

std::unique_ptr<TDAOError> TDAOErrors::item(std::int16_t index) {
    std::shared_ptr<dao::Error> element;
    invoke([&](const dao::Errors& errors) {
        dao::Error error;
        dao::Status status = index < 0 ? errors.item(errors.count(), error)
                                       : errors.item(static_cast<std::size_t>(index), error);
        if (!dao::failed(status))
            element = std::make_shared<dao::Error>(std::move(error));
        return status;
    });
    return std::make_unique<TDAOError>(std::move(element));
}

} // namespace accessdb
