#include "accessdb/access/EAccessEngineError.h"

#include "accessdb/access/TAccessSession.h"
#include "accessdb/access/TDAOEngine.h"
#include "accessdb/access/TDAOErrors.h"
#include "mdbengine/dao/Errors.h"

#include <array>

namespace accessdb {
namespace {

constexpr std::array<StatusMapping, 3> daoToEngine{{
    {3021, dbierr::NOCURRREC},
    {3031, dbierr::INVALIDPASSWORD},
    {3078, dbierr::NOSUCHTABLE},
}};

// Cut before a character that would not fit whole, so that UTF-8 words stay UTF-8.
std::string cut255(std::string text) {
    if (text.size() <= 255)
        return text;
    std::size_t end = 255;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

} // namespace

EAccessEngineError::EAccessEngineError(HResult result, std::string driverMessage)
    : ETorvaneEngineError(engineCode(result)), result_(result),
      driverMessage_(cut255(std::move(driverMessage))) {
    setNativeError(static_cast<std::int32_t>(result));
}

Status EAccessEngineError::engineCode(HResult result) {
    return mapErrorCode(daoToEngine, static_cast<Status>(result & 0xFFFF));
}

std::string EAccessEngineError::messageFor(std::uint16_t number, const std::string& description) {
    return cut255("Access Status " + std::to_string(number) + " - " + description);
}

std::string EAccessEngineError::messageFrom(TDAOEngine* engine) {
    if (!engine)
        return {};
    auto errors = engine->errors();
    std::int16_t count = errors->count();
    std::string message;
    for (std::int16_t i = 0; i < count && message.size() <= 255; ++i) {
        auto error = errors->item(i);
        if (i == 0)
            message = messageFor(static_cast<std::uint16_t>(error->number()), error->description());
        else
            message += "\r\n" + error->description();
    }
    return cut255(message);
}

void checkAccess(HResult result) {
    if ((result & 0xFFFF) == 0)
        return;
    throw EAccessEngineError(result,
                             EAccessEngineError::messageFrom(TAccessSession::sharedEngine()));
}

void raiseAccessError(std::uint16_t number) {
    auto daoNumber = static_cast<mdbengine::ErrorNumber>(number);
    throw EAccessEngineError(
        mdbengine::failure(daoNumber),
        EAccessEngineError::messageFor(number, mdbengine::Errors::description(daoNumber, {})));
}

} // namespace accessdb
