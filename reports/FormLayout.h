#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quillan {

// The 26 places of one statement form, in points from the page's top-left corner, as its
// coordinate file gives them: place n has its x on line 2n-1 and its y on line 2n; line 0
// is the form's title and is not read.
class FormLayout {
public:
    static constexpr int Places = 26;
    static constexpr int Entries = 2 * Places;
    // Entry 1 to 52 at the index of the file's line of the same number; index 0 unused.
    using Lines = std::array<int32_t, Entries + 1>;

    FormLayout() = default;
    explicit FormLayout(const Lines& lines) : entries_(lines) {}

    int32_t x(int place) const { return entry(2 * place - 1); }
    int32_t y(int place) const { return entry(2 * place); }

private:
    int32_t entry(int line) const { return entries_.at(static_cast<size_t>(line)); }

    Lines entries_{};
};

// The form files live in the program folder's "bitmaps" folder, named after the form.
std::string formLayoutPath(const std::string& bitmapsFolder, const std::string& formName);
// Page 1 or 2: <form>_p1.bmp, <form>_p2.bmp.
std::string formPagePath(const std::string& bitmapsFolder, const std::string& formName, int page);

// Reads the coordinate file of a form. A missing file, one with fewer than 53 lines, or a
// line that is not a whole number throws FormFileError naming the file and the line, so
// that the statement stops before its document begins.
FormLayout LoadFormLayout(const std::string& bitmapsFolder, const std::string& formName);

} // namespace quillan
