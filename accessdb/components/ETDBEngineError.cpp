#include "accessdb/components/ETDBEngineError.h"

#include "accessdb/engine/EngineText.h"
#include "accessdb/engine/TVirtEng.h"

#include <algorithm>
#include <cstdio>

namespace accessdb {
namespace {

std::string contextOf(TVirtEng* engine, Status status) {
    std::string text;
    if (engine)
        engine->GetErrorContext(status, text);
    return text;
}

void addLine(std::vector<std::string>& lines, const std::string& line) {
    if (!line.empty() && std::find(lines.begin(), lines.end(), line) == lines.end())
        lines.push_back(line);
}

} // namespace

ETDBEngineError::ETDBEngineError(TVirtEng* engine, Status status)
    : ETDBEngineError(report(engine, status)) {}

ETDBEngineError::ETDBEngineError(Report report)
    : EDatabaseError(report.message), errors_(std::move(report.errors)) {}

ETDBEngineError::Report ETDBEngineError::report(TVirtEng* engine, Status status) {
    std::vector<TttError> errors;
    errors.push_back({status, 0, contextOf(engine, status)});
    std::vector<std::string> lines;
    if (status != dbierr::QRYEMPTY)
        addLine(lines, errors.front().message);
    for (std::uint16_t n = 1; engine && n <= 20; ++n) {
        std::int32_t native = 0;
        std::string text;
        Status code = engine->GetErrorEntry(n, native, text);
        if (code == 0 || code == dbierr::NOTINITIALIZED)
            break;
        errors.push_back({code, native, text});
        if (native == 0 && status != dbierr::QRYEMPTY)
            addLine(lines, contextOf(engine, code));
        addLine(lines, trimBlanks(text));
    }
    std::string message;
    for (const std::string& line : lines)
        message += (message.empty() ? "" : "\r\n") + line;
    if (message.empty()) {
        char text[64];
        std::snprintf(text, sizeof text, "Torvane Interface Error: ( %x )",
                      static_cast<unsigned>(status));
        message = text;
    }
    return {std::move(errors), message};
}

void dbiError(TVirtEng* engine, Status status) {
    throw ETDBEngineError(engine, status);
}

} // namespace accessdb
