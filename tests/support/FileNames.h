#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillan::test {

// Whether a file's extension is `extension` (".xls") in any case: public files come named
// "LIST.XLS" as often as "list.xls", and a test that chooses its files by name takes both.
inline bool hasExtension(const std::filesystem::path& file, std::string_view extension) {
    const std::string own = file.extension().string();
    return std::equal(own.begin(), own.end(), extension.begin(), extension.end(),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

} // namespace quillan::test
