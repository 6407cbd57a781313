#include "accessdb/engine/ETorvaneEngineError.h"

namespace accessdb {
namespace {

std::string cut255(const std::string& text) {
    return text.size() > 255 ? text.substr(0, 255) : text;
}

} // namespace

ETorvaneEngineError::ETorvaneEngineError(Status code) : EAbort(), errorCode_(code) {}

ETorvaneEngineError::ETorvaneEngineError(Status code, const std::string& text)
    : EAbort(), errorCode_(code), errorText_(cut255(text)) {}

void raiseEngineError(Status code) {
    throw ETorvaneEngineError(code);
}

void raiseEngineErrorText(Status code, const std::string& text) {
    throw ETorvaneEngineError(code, text);
}

void raiseEOF() {
    throw ETorvaneEOFError();
}

void raiseBOF() {
    throw ETorvaneBOFError();
}

void raiseNotSupported(int /*messageId*/) {
    throw ETorvaneEngineError(dbierr::NOTSUPPORTED);
}

std::uint16_t checked16(std::size_t value) {
    if (value > 0xFFFF)
        throw ERangeError();
    return static_cast<std::uint16_t>(value);
}

} // namespace accessdb
