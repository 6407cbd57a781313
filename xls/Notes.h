#pragma once

#include "xls/AnchorObject.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace xls {

// A cell comment: its text, the cell it belongs to and the box it is shown in. Unless its
// anchor was set, the box starts one row above the cell and one column to its right and
// spans two rows and two columns.
class Note : public AnchorObject {
public:
    explicit Note(int id);

    std::string name;
    std::string author;      // as read; a note written without one names the workbook's user
    std::string flaggedText; // the text as read, characters the code page lacks included
    std::vector<std::string> lines{"Note"};
    int32_t objectId = -1;  // the drawing object of a note read from a file
    bool noteRecord = true; // a NOTE record ties the note to its cell when written
    bool legacy = false;    // read from a BIFF2 to BIFF5 NOTE record (kept as read)

    int cellRow() const { return cellRow_; }
    int cellCol() const { return cellCol_; }
    int32_t cellKey() const { return cellKey_; }
    void setCellRow(int row);
    void setCellCol(int col);

    // The lines joined by CR LF, as the text is written; setText splits at line ends. A note
    // read from a file gives its text as read.
    std::string text() const;
    void setText(const std::string& text);
    // The text as it is stored: lines joined by LF, blanks off both ends; the text as read
    // while it still says that.
    std::string storedText() const;
    std::string storedFlaggedText(bool unicode) const;

private:
    void defaultAnchor();

    int cellRow_ = 0;
    int cellCol_ = 0;
    int32_t cellKey_ = 0;
};

class Notes {
public:
    Note& add() { return items_.emplace_back(nextId_++); }
    Note& item(size_t index) { return items_.at(index); }
    const Note& item(size_t index) const { return items_.at(index); }
    size_t count() const { return items_.size(); }
    void clear() { items_.clear(); }
    // The first note of the drawing object, or null.
    Note* findByObjectId(int32_t id);

private:
    std::deque<Note> items_;
    int nextId_ = 0;
};

} // namespace xls
