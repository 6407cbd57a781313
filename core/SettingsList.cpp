#include "core/SettingsList.h"

#include "core/Convert.h"
#include "platform/fs/AtomicFile.h"

#include <filesystem>
#include <utility>

namespace quillan {

ListIndexError::ListIndexError(long index, std::string fileName)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")"), index_(index),
      fileName_(std::move(fileName)) {}

SettingsLineError::SettingsLineError(const std::string& fileName, long line,
                                     const std::string& text)
    : ConvertError("Quillan's own file " + fileName + " is damaged: line " + std::to_string(line) +
                   " is not a number ('" + text +
                   "'). Put back the file as it came with "
                   "Quillan.") {}

std::vector<std::string> SettingsList::splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            start = ++i;
            continue;
        }
        ++i;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

void SettingsList::loadFromFile(const std::string& path) {
    auto bytes = platform::readFileBytes(path);
    if (!bytes)
        throw FileError("Cannot open file \"" + path + "\".");
    lines_ = splitLines(*bytes);
    fileName_ = path;
}

std::string SettingsList::toBytes() const {
    std::string out;
    for (const auto& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void SettingsList::saveToFile(const std::string& path) const {
    // Quillan's own files are never written through a link someone put in their place, nor
    // into a folder of theirs that is one (a tables folder linked elsewhere).
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_symlink(folder, ec))
        throw FileError("Cannot create file \"" + path + "\" (" + folder.string() +
                        " is a symbolic link, and Quillan does not write its own files through "
                        "links).");
    auto result =
        platform::writeFileAtomically(path, toBytes(), platform::AtomicFileWriter::Links::Refuse);
    if (!result.ok)
        throw FileError("Cannot create file \"" + path + "\" (" + result.error + ").");
}

const std::string& SettingsList::operator[](long index) const {
    if (index < 0 || index >= count())
        throw ListIndexError(index, fileName_);
    return lines_[static_cast<size_t>(index)];
}

SettingsLineError SettingsList::notANumber(long index) const {
    const size_t slash = fileName_.find_last_of('/');
    return SettingsLineError(slash == std::string::npos ? fileName_ : fileName_.substr(slash + 1),
                             index, (*this)[index]);
}

int32_t SettingsList::numberAt(long index) const {
    try {
        return strToInt((*this)[index]);
    } catch (const ConvertError&) {
        throw notANumber(index);
    }
}

double SettingsList::decimalAt(long index) const {
    try {
        return strToFloat((*this)[index]);
    } catch (const ConvertError&) {
        throw notANumber(index);
    }
}

std::string& SettingsList::operator[](long index) {
    return const_cast<std::string&>(std::as_const(*this)[index]);
}

} // namespace quillan
