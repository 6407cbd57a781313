#include "accessdb/engine/TErrorStack.h"

#include "accessdb/engine/ETorvaneEngineError.h"

#include <algorithm>
#include <cstring>

namespace accessdb {

ErrorEntry ErrorEntry::fromException(const ETorvaneEngineError& error) {
    ErrorEntry entry;
    Byte* p = entry.bytes.data();
    putU16(p, CodeOffset, error.errorCode());
    std::string codeText = errorCodeText(error.errorCode(), 255);
    if (codeText.find("DBIERR_") == std::string::npos) {
        codeText = error.unknownCodeFormat();
        if (std::size_t at = codeText.find("%d"); at != std::string::npos)
            codeText.replace(at, 2, std::to_string(error.nativeError()));
        if (codeText.size() > 255)
            codeText.resize(255);
    }
    putText(p, CodeTextOffset, CodeTextSize, codeText);
    putI32(p, NativeErrorOffset, error.nativeError());
    if (std::string message = error.driverMessage(); !message.empty())
        putText(p, DriverMessageOffset, DriverMessageSize, message);
    // The text may run on from the first context into the next ones.
    const std::string& text = error.errorText();
    if (!text.empty())
        std::memcpy(p + ContextOffset, text.data(), std::min<std::size_t>(text.size(), 255));
    return entry;
}

TErrorStack::TErrorStack(std::uint16_t capacity) : capacity_(std::min(capacity, MaxCapacity)) {}

void TErrorStack::push(const ErrorEntry& entry) {
    if (capacity_ == 0)
        return;
    if (entries_.empty())
        entries_.resize(capacity_);
    std::uint16_t kept = count_ < capacity_ ? count_ : capacity_ - 1;
    std::move_backward(entries_.begin(), entries_.begin() + kept, entries_.begin() + kept + 1);
    entries_[0] = entry;
    count_ = static_cast<std::uint16_t>(kept + 1);
}

void TErrorStack::pushException(const ETorvaneEngineError& error) {
    push(ErrorEntry::fromException(error));
}

bool TErrorStack::getEntry(std::uint16_t n, ErrorEntry& entry) const {
    if (n < 1 || n > count_)
        return false;
    entry = entries_[n - 1];
    return true;
}

} // namespace accessdb
