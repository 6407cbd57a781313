#include "mdbengine/dao/LinkedDatabase.h"

#include "mdbengine/tables/Names.h"

#include <cctype>
#include <filesystem>
#include <optional>

namespace mdbengine {

namespace fs = std::filesystem;

namespace {

bool hasDriveLetter(const std::string& link) {
    return link.size() >= 2 && std::isalpha(static_cast<unsigned char>(link[0])) && link[1] == ':';
}

// The folders and file of a Windows path after its drive or its server and share.
std::vector<std::string> windowsParts(const std::string& link) {
    std::string path = hasDriveLetter(link) ? link.substr(2) : link;
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    bool unc = !hasDriveLetter(link) && link.rfind("\\\\", 0) == 0;
    if (unc && parts.size() > 2)
        parts.erase(parts.begin(), parts.begin() + 2);
    return parts;
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The entry of `folder` named `name` without regard to the case of its letters, as Windows
// finds it: the one of that exact name when there is one, else the first in name order.
std::optional<fs::path> entryIgnoringCase(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec))
        return folder / name;
    std::optional<std::string> found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (file::sameName(entry, name) && (!found || entry < *found))
            found = entry;
    }
    if (!found)
        return std::nullopt;
    return folder / *found;
}

// The file the folders and file name lead to from `folder`, each found without regard to
// case.
std::optional<fs::path> fileIgnoringCase(fs::path folder, const std::vector<std::string>& parts,
                                         std::size_t first) {
    for (std::size_t i = first; i < parts.size(); ++i) {
        std::optional<fs::path> next = entryIgnoringCase(folder, parts[i]);
        if (!next)
            return std::nullopt;
        folder = *next;
    }
    return isFile(folder) ? std::optional<fs::path>(folder) : std::nullopt;
}

} // namespace

LinkedDatabaseSearch findLinkedDatabase(const std::string& linkingFile, const std::string& link) {
    LinkedDatabaseSearch search;
    fs::path folder = fs::path(linkingFile).parent_path();
    auto tryPath = [&](const fs::path& path) {
        search.lookedAt.push_back(path.string());
        if (!search.found && isFile(path))
            search.found = path.string();
        return search.found.has_value();
    };
    bool windows = hasDriveLetter(link) || link.find('\\') != std::string::npos;
    if (!windows) {
        fs::path path(link);
        tryPath(path.is_absolute() ? path : folder / path);
        return search;
    }
    std::vector<std::string> parts = windowsParts(link);
    for (std::size_t first = 0; first < parts.size() && !search.found; ++first) {
        fs::path tail;
        for (std::size_t i = first; i < parts.size(); ++i)
            tail /= parts[i];
        search.lookedAt.push_back((folder / tail).string());
        if (std::optional<fs::path> file = fileIgnoringCase(folder, parts, first))
            search.found = file->string();
    }
    if (search.lookedAt.empty())
        search.lookedAt.push_back(link);
    return search;
}

} // namespace mdbengine
