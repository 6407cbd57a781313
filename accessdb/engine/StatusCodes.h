#pragma once

// The engine's 16-bit status codes (0 is success; the high byte is the category) and their
// names, in the numbering of the desktop database engine interface.

#include <cstdint>
#include <span>
#include <string>

namespace accessdb {

using Status = std::uint16_t;

namespace dbierr {
constexpr Status NONE = 0x0000;
constexpr Status BOF = 0x2201;
constexpr Status EOF_ = 0x2202;
constexpr Status RECDELETED = 0x2204;
constexpr Status NOCURRREC = 0x2205;
constexpr Status RECNOTFOUND = 0x2206;
constexpr Status ENDOFBLOB = 0x2207;
constexpr Status OUTOFRANGE = 0x2701;
constexpr Status INVALIDPARAM = 0x2702;
constexpr Status INVALIDHNDL = 0x2706;
constexpr Status NOSUCHINDEX = 0x270D;
constexpr Status INVALIDBLOBOFFSET = 0x270E;
constexpr Status INVALIDRECSTRUCT = 0x2713;
constexpr Status UNKNOWNDB = 0x271E;
constexpr Status INVALIDPASSWORD = 0x271F;
constexpr Status NOCALLBACK = 0x2720;
constexpr Status INVALIDINDEXNAME = 0x2726;
constexpr Status NOSUCHTABLE = 0x2728;
constexpr Status NOSUCHFILTER = 0x2742;
constexpr Status INVALIDTABLECREATE = 0x2744;
constexpr Status READONLYFLD = 0x2906;
constexpr Status NOTSUFFTABLERIGHTS = 0x2902;
constexpr Status NOTABLOB = 0x2A01;
constexpr Status BLOBOPENED = 0x2A02;
constexpr Status BLOBNOTOPENED = 0x2A03;
constexpr Status NA = 0x2A04;
constexpr Status NOTINDEXED = 0x2A05;
constexpr Status NOTINITIALIZED = 0x2A06;
constexpr Status MULTIPLEINIT = 0x2A07;
constexpr Status TABLEREADONLY = 0x2A0B;
constexpr Status NOASSOCINDEX = 0x2A0C;
constexpr Status DRIVERLIMIT = 0x2513;
constexpr Status QRYEMPTY = 0x2EC4;
constexpr Status NOTSUPPORTED = 0x3001;
} // namespace dbierr

struct StatusName {
    Status code;
    const char* name; // without the "DBIERR_" prefix
};

// The code table in its fixed order (471 entries). 0x2204 stands twice; lookups find the
// first.
std::span<const StatusName> statusTable();

// "DBIERR_" + the code's name, or "Torvane (DBE) Error %d." for a code the table lacks.
std::string errorCodeText(Status code);

// The text cut to maxLen characters.
std::string errorCodeText(Status code, std::size_t maxLen);

struct StatusMapping {
    Status from;
    Status to;
};

// Translates a code through (from, to) pairs; the first matching pair wins, no match (or the
// code 0) leaves the code as it is.
Status mapErrorCode(std::span<const StatusMapping> pairs, Status code);

} // namespace accessdb
