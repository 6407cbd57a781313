#pragma once

#include "core/Convert.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillan {

// Marks a failure that lies in one of Quillan's own files (a settings or postal table
// without a line it must have, or with a line that is not what it must be). Such a failure
// is never blamed on the list being read or written: it ends the command as the program's.
class OwnFileFault {
public:
    virtual ~OwnFileFault() = default;
};

// Reading or writing a line the list does not have: "List index out of bounds (n)".
class ListIndexError : public std::out_of_range, public OwnFileFault {
public:
    explicit ListIndexError(long index, std::string fileName = {});
    long index() const { return index_; }
    // The file whose list was read past its end, when known.
    const std::string& fileName() const { return fileName_; }

private:
    long index_;
    std::string fileName_;
};

// A line of one of Quillan's own files that is not the number it must be; the message names
// the file and the line.
class SettingsLineError : public ConvertError, public OwnFileFault {
public:
    SettingsLineError(const std::string& fileName, long line, const std::string& text);
};

// A file that could not be read or written; the message names it.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A settings or reference file held in memory as its lines. Line n is element n (line 0
// of a settings file is unused). Reading splits at CR LF, a lone CR or a lone LF and drops
// the terminators; writing puts CR LF after every line and replaces the whole file.
class SettingsList {
public:
    SettingsList() = default;
    explicit SettingsList(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    static std::vector<std::string> splitLines(std::string_view bytes);

    // Throws FileError when the file cannot be read.
    void loadFromFile(const std::string& path);
    // Throws FileError when the file cannot be written; the old file is then untouched.
    void saveToFile(const std::string& path) const;
    std::string toBytes() const;

    const std::string& operator[](long index) const;
    std::string& operator[](long index);
    const std::string& at(long index) const { return (*this)[index]; }
    void set(long index, std::string value) { (*this)[index] = std::move(value); }
    // The line as a number; SettingsLineError (naming the file and line) when it is not
    // one, ListIndexError when missing.
    int32_t numberAt(long index) const;
    double decimalAt(long index) const;
    // The error for a line that does not hold the number it must.
    SettingsLineError notANumber(long index) const;

    long count() const { return static_cast<long>(lines_.size()); }
    bool empty() const { return lines_.empty(); }
    void add(std::string line) { lines_.push_back(std::move(line)); }
    void clear() { lines_.clear(); }
    const std::vector<std::string>& lines() const { return lines_; }
    std::vector<std::string>& lines() { return lines_; }

    // The file this list was loaded from, for messages.
    const std::string& fileName() const { return fileName_; }

private:
    std::vector<std::string> lines_;
    std::string fileName_;
};

} // namespace quillan
