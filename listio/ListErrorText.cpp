#include "listio/ListErrorText.h"

#include "accessdb/components/ETDBEngineError.h"
#include "core/Convert.h"
#include "listio/ListKinds.h"
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

// "Error on reading record # <n>" CR <cause>: the record and the cause on one line.
std::string workbookWords(const std::string& message) {
    const std::string lead = "Error on reading record # ";
    size_t cr = message.find('\r');
    if (message == "BOF is missing in file" || message == "Invalid BOF size" ||
        message == "File is not a Excel Workbook")
        return "It is not an Excel workbook Quillan can read, or it is damaged (" + message + ").";
    if (message.rfind(lead, 0) != 0 || cr == std::string::npos)
        return message;
    std::string record = message.substr(lead.size(), cr - lead.size());
    std::string cause = message.substr(cr + 1);
    if (cause == "File is password protected")
        return "The workbook is protected by a password: save it without one and sort it again.";
    return "The workbook is damaged: its record " + record + " cannot be read (" + cause + ").";
}

} // namespace

ListFailure describeListFailure(const std::exception& error) {
    if (auto* engine = dynamic_cast<const accessdb::ETDBEngineError*>(&error)) {
        return {accessWords(engine->what()), true};
    }
    if (dynamic_cast<const xls::XlsError*>(&error))
        return {workbookWords(error.what()), true};
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
