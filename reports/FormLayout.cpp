#include "reports/FormLayout.h"

#include "core/Convert.h"
#include "reports/FormFileError.h"

#include <fstream>

namespace quillan {

static std::string inFolder(const std::string& folder, const std::string& file) {
    if (folder.empty() || folder.back() == '/')
        return folder + file;
    return folder + "/" + file;
}

std::string formLayoutPath(const std::string& bitmapsFolder, const std::string& formName) {
    return inFolder(bitmapsFolder, formName + ".txt");
}

std::string formPagePath(const std::string& bitmapsFolder, const std::string& formName, int page) {
    return inFolder(bitmapsFolder, formName + "_p" + std::to_string(page) + ".bmp");
}

// A file written on the desktop platform ends its lines with CR LF; blanks around the number
// are not part of it either.
static std::string_view trimmed(const std::string& line) {
    std::string_view text = line;
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

FormLayout LoadFormLayout(const std::string& bitmapsFolder, const std::string& formName) {
    std::string path = formLayoutPath(bitmapsFolder, formName);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FormFileError("The form file " + path + " cannot be opened.");

    FormLayout::Lines entries{};
    std::string line;
    std::getline(in, line); // the title
    for (int n = 1; n <= FormLayout::Entries; ++n) {
        if (!std::getline(in, line))
            throw FormFileError("The form file " + path + " ends before line " + std::to_string(n) +
                                ": it needs a title and " + std::to_string(FormLayout::Entries) +
                                " positions.");
        int32_t value = 0;
        if (!tryStrToInt(trimmed(line), value))
            throw FormFileError("The form file " + path + ", line " + std::to_string(n) + ": '" +
                                std::string(trimmed(line)) + "' is not a whole number.");
        entries.at(static_cast<size_t>(n)) = value;
    }
    return FormLayout(entries);
}

} // namespace quillan
