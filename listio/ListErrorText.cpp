#include "listio/ListErrorText.h"

#include "accessdb/components/ETDBEngineError.h"
#include "core/Convert.h"
#include "listio/ListPaths.h"
#include "platform/storage/StorageError.h"
#include "xls/XlsError.h"

#include <cstdio>
#include <sstream>

namespace quillan {

namespace {

std::string trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    size_t end = text.find_last_not_of(" \t\r\n");
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

// The engine's message holds a line per error: "Access Status <number> - <words>" from the
// database, and the engine's own codes ("DBIERR_..." names, "Torvane (DBE) Error <n>."),
// which mean nothing to a person and are left out.
std::string accessWords(const std::string& message) {
    std::istringstream lines(message);
    std::string said;
    for (std::string line; std::getline(lines, line);) {
        line = trimmed(line);
        if (line.empty() || line.rfind("DBIERR_", 0) == 0 || line.rfind("Torvane", 0) == 0)
            continue;
        const std::string status = "Access Status ";
        if (line.rfind(status, 0) == 0) {
            size_t dash = line.find(" - ");
            std::string number = line.substr(status.size(), dash - status.size());
            line = dash == std::string::npos ? "" : line.substr(dash + 3);
            line += " (Access error " + number + ")";
        }
        said += (said.empty() ? "" : " ") + line;
    }
    return said.empty() ? "The Access database engine could not carry out the work." : said;
}

// A record that cannot be read: its number and the cause, in one line.
std::string workbookWords(const xls::XlsError& error) {
    const std::string message = error.what();
    if (message == "BOF is missing in file" || message == "Invalid BOF size" ||
        message == "File is not a Excel Workbook")
        return "It is not an Excel workbook Quillan can read, or it is damaged (" + message + ").";
    auto* record = dynamic_cast<const xls::RecordError*>(&error);
    if (!record)
        return message;
    if (record->cause() == "File is password protected")
        return "The workbook is protected by a password: save it without one and sort it again.";
    return "The workbook is damaged: its record " + std::to_string(record->record()) +
           " cannot be read (" + record->cause() + ").";
}

} // namespace

ListFailure describeListFailure(const std::exception& error) {
    if (auto* engine = dynamic_cast<const accessdb::ETDBEngineError*>(&error)) {
        return {accessWords(engine->what()), true};
    }
    if (auto* workbook = dynamic_cast<const xls::XlsError*>(&error))
        return {workbookWords(*workbook), true};
    // The storage library speaks of blocks and allocation tables, and sometimes only of a
    // failed assertion of its own: none of it helps the reader.
    if (dynamic_cast<const platform::StorageError*>(&error))
        return {"The file is damaged, or is not an Excel workbook: Quillan cannot find a "
                "complete workbook in it.",
                true};
    return {error.what(), false};
}

std::string newerWorkbookRefusal(const std::string& path) {
    char head[4] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {};
    const bool zip = std::fread(head, 1, 4, file) == 4 && std::string(head, 4) == "PK\x03\x04";
    std::fclose(file);
    const std::string extension = upperAscii(path.substr(path.find_last_of("./\\") + 1));
    if (!zip || (extension != "XLS" && extension != "XLSX" && extension != "XLSM"))
        return {};
    return "Quillan cannot read " + fileNameOf(path) +
           ": it is an Excel 2007 or later workbook. Save it as Excel 97-2003 (.xls) and sort "
           "that.";
}

} // namespace quillan
