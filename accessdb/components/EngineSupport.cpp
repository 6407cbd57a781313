#include "accessdb/components/EngineSupport.h"

#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TVirtEng.h"

#include "platform/text/CodePage.h"

#include <cstdlib>
#include <cstring>

namespace accessdb {

namespace {

using Translation = Status (TVirtEng::*)(const std::string&, std::string&);

void translateBuf(TVirtEng* engine, Translation translation, const char* source, char* destination,
                  int length) {
    if (length <= 0)
        return;
    std::string out;
    (engine->*translation)(std::string(source, static_cast<std::size_t>(length)), out);
    out.resize(static_cast<std::size_t>(length));
    std::memcpy(destination, out.data(), static_cast<std::size_t>(length));
}

} // namespace

void ansiToNativeBuf(TVirtEng* engine, const char* source, char* destination, int length) {
    translateBuf(engine, &TVirtEng::AnsiToNative, source, destination, length);
}

void nativeToAnsiBuf(TVirtEng* engine, const char* source, char* destination, int length) {
    translateBuf(engine, &TVirtEng::NativeToAnsi, source, destination, length);
}

ListCursor::~ListCursor() {
    if (cursor)
        engine->CloseCursor(cursor);
}

std::string ansiToNative(TVirtEng* engine, const std::string& text, std::size_t maxLength) {
    std::string cut = leftChars(text, maxLength);
    std::string out = cut;
    if (engine && engine->AnsiToNative(cut, out) != 0)
        out = cut;
    return out;
}

std::string nativeToAnsi(TVirtEng* engine, const std::string& text) {
    std::string out = text;
    if (engine && engine->NativeToAnsi(text, out) != 0)
        out = text;
    return out;
}

std::string ansiToOem(const std::string& text) {
    return platform::ansiToOem(text);
}

std::uint32_t getIntProp(TVirtEng* engine, TBapiListItem* handle, std::uint32_t propId) {
    Byte value[4] = {};
    std::uint16_t length = 0;
    if (engine->GetProp(handle, propId, value, sizeof value, length) != 0)
        return 0;
    return getU32(value, 0);
}

bool setBoolProp(TVirtEng* engine, TBapiListItem* handle, std::uint32_t propId, int value) {
    return engine->SetProp(handle, propId, static_cast<std::uint32_t>(std::abs(value))) == 0;
}

std::string paramsToText(const std::vector<std::string>& lines, TVirtEng* engine) {
    std::string text;
    for (const std::string& line : lines) {
        std::size_t eq = line.find('=');
        std::size_t p = eq == std::string::npos ? 0 : eq;
        if (p >= line.size() || (eq != std::string::npos && eq + 1 == line.size()))
            continue;
        std::string name = eq == std::string::npos ? std::string() : line.substr(0, p);
        std::string value = eq == std::string::npos ? line : line.substr(p + 1);
        text += name + ":\"" + leftChars(value, 255) + "\";";
    }
    text = engine ? ansiToNative(engine, text, text.size()) : ansiToOem(text);
    if (!text.empty())
        text.pop_back();
    return text;
}

} // namespace accessdb
