#pragma once

#include "xls/AnchorObject.h"

#include <deque>
#include <string>
#include <string_view>

namespace xls {

class XlsPicture;
class XlsPictures;

// A workbook picture placed on a sheet: where, at what zoom, and which picture.
class SheetPicture : public AnchorObject {
public:
    SheetPicture(XlsPictures* pictures, int id);
    SheetPicture(const SheetPicture&) = delete;
    SheetPicture& operator=(const SheetPicture&) = delete;
    ~SheetPicture(); // the picture loses one use

    std::string name;

    const std::string& pictureName() const { return pictureName_; }
    // Links the first workbook picture of that file name (without regard to case); a name
    // no picture has leaves the placement unlinked.
    void setPictureName(std::string_view text);
    // Links a picture directly (the reader's placements), counting one more use of it.
    void link(XlsPicture* picture);
    XlsPicture* picture() const { return picture_; }

    int zoom() const { return zoom_; }
    // 1 to 999 percent; any other value is told in a message and not taken.
    void setZoom(int percent);
    // The top-left cell; the far corner moves along when it would come before it.
    void setCol(int col);
    void setRow(int row);

private:
    XlsPictures* pictures_;
    XlsPicture* picture_ = nullptr;
    std::string pictureName_;
    int zoom_ = 100;
};

class SheetPictures {
public:
    explicit SheetPictures(XlsPictures* pictures) : pictures_(pictures) {}
    SheetPicture& add() { return items_.emplace_back(pictures_, nextId_++); }
    SheetPicture& item(size_t index) { return items_.at(index); }
    void removeLast() {
        if (!items_.empty())
            items_.pop_back();
    }
    size_t count() const { return items_.size(); }
    void clear() { items_.clear(); }

private:
    XlsPictures* pictures_;
    std::deque<SheetPicture> items_;
    int nextId_ = 0;
};

} // namespace xls
