#pragma once

// What the components share around their engine calls: text translation through the
// current session, property helpers, and the engine's parameter text.

#include "accessdb/engine/PackedBytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace accessdb {

class TBapiListItem;
class TBaseTable;
class TVirtEng;

// Closes a list cursor at the end of a scope.
struct ListCursor {
    TVirtEng* engine;
    TBaseTable* cursor = nullptr;
    ~ListCursor();
};

// Translate through the current session's translation (a plain copy for a driver that keeps
// its texts); nothing happens for a length of 0. Statuses are not checked.
void ansiToNativeBuf(TVirtEng* engine, const char* source, char* destination, int length);
void nativeToAnsiBuf(TVirtEng* engine, const char* source, char* destination, int length);
// At most maxLength characters of the text, translated.
std::string ansiToNative(TVirtEng* engine, const std::string& text, std::size_t maxLength);
std::string nativeToAnsi(TVirtEng* engine, const std::string& text);
// The platform's fixed ANSI to OEM conversion.
std::string ansiToOem(const std::string& text);

// A 4-byte property, or 0 when it cannot be read.
std::uint32_t getIntProp(TVirtEng* engine, TBapiListItem* handle, std::uint32_t propId);
bool setBoolProp(TVirtEng* engine, TBapiListItem* handle, std::uint32_t propId, int value);

// Lines "name=value" as the engine's parameter text name:"value";... without the last ";",
// translated through the engine's session (OEM when no engine is given).
std::string paramsToText(const std::vector<std::string>& lines, TVirtEng* engine = nullptr);

} // namespace accessdb
