#pragma once

#include "accessdb/access/TDAOUnknown.h"
#include "accessdb/engine/ETorvaneEngineError.h"

#include <string>

namespace accessdb {

class TDAOEngine;

// A failed DAO call as the engine reports it: the DAO number as the engine code (three of
// them mapped onto the engine's own), the whole result as the native error, and the DAO
// engine's error texts as the driver message, "Access Status <number> - <text>".
class EAccessEngineError : public ETorvaneEngineError {
public:
    EAccessEngineError(HResult result, std::string driverMessage);

    HResult result() const { return result_; }
    std::string driverMessage() const override { return driverMessage_; }

    // The engine code of a DAO result.
    static Status engineCode(HResult result);
    // The driver message made from the engine's Errors, at most 255 characters.
    static std::string messageFrom(TDAOEngine* engine);
    // The message of a failure the driver finds itself, worded as DAO words it.
    static std::string messageFor(std::uint16_t number, const std::string& description);

private:
    HResult result_;
    std::string driverMessage_;
};

// Raises EAccessEngineError, with the texts of the shared DAO engine's Errors, when the
// result's low 16 bits are set.
void checkAccess(HResult result);

// Raises the DAO failure `number` found by the driver itself, with DAO's own text for it.
[[noreturn]] void raiseAccessError(std::uint16_t number);

} // namespace accessdb
