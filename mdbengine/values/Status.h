#pragma once

// Every call of the object model answers a status: 0 for success, else 0x800A0000 joined
// with the engine's error number (the form the automation layer reports them in), so
// the low 16 bits alone tell success from failure. The call also leaves the error, with a
// description, in the engine's Errors collection.

#include <cstdint>

namespace mdbengine {

using Status = std::uint32_t;

inline constexpr Status statusOk = 0;

enum class ErrorNumber : std::uint16_t {
    InvalidArgument = 3001,
    NoCurrentIndex = 3019,
    UpdateWithoutEdit = 3020,
    NoCurrentRecord = 3021,
    FileNotFound = 3024,
    ReadOnly = 3027,
    NotValidPassword = 3031,
    DuplicateKey = 3022,
    NoTransaction = 3034,
    WriteFailed = 3043,
    InvalidPath = 3044,
    FileInUse = 3045,
    RecordTooLarge = 3047,
    NullInKey = 3058,
    TooFewParameters = 3061,
    CannotExecuteSelect = 3065,
    NotUpdatableQuery = 3073,
    SyntaxError = 3075,
    TableNotFound = 3078,
    CircularLink = 3103,
    InvalidBookmark = 3159,
    FieldTooSmall = 3163,
    FieldNotUpdatable = 3164,
    RecordDeleted = 3167,
    ChangedByAnother = 3197,
    RelatedRecordsExist = 3200,
    RelatedRecordRequired = 3201,
    InvalidOperation = 3219,
    NotSupported = 3251,
    ItemNotFound = 3265,
    RequiredValueMissing = 3314,
    UnrecognisedFormat = 3343,
    ValuesCountMismatch = 3346,
    NumericOverflow = 3349,
    ObjectClosed = 3420,
    ConversionError = 3421,
    TypeMismatch = 3464,
    NotAnIndex = 3800,
};

inline constexpr Status failure(ErrorNumber number) {
    return 0x800A0000u | static_cast<std::uint16_t>(number);
}

inline constexpr std::uint16_t errorNumber(Status status) {
    return status & 0xFFFFu;
}

inline constexpr bool failed(Status status) {
    return errorNumber(status) != 0;
}

} // namespace mdbengine
