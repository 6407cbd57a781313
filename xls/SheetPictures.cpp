#include "xls/SheetPictures.h"

#include "xls/XlsPictures.h"

namespace xls {

SheetPicture::SheetPicture(XlsPictures* pictures, int id)
    : name("SheetPicture " + std::to_string(id)), pictures_(pictures) {}

SheetPicture::~SheetPicture() {
    link(nullptr);
}

void SheetPicture::link(XlsPicture* picture) {
    if (picture_)
        --picture_->refCount;
    picture_ = picture;
    if (picture_)
        ++picture_->refCount;
}

void SheetPicture::setPictureName(std::string_view text) {
    link(nullptr);
    pictureName_ = text;
    if (pictures_)
        link(pictures_->findByFilename(text));
}

void SheetPicture::setZoom(int percent) {
    if (percent < 1 || percent > 999) {
        if (pictures_)
            pictures_->tell("Value can be between 1% - 999%");
        return;
    }
    zoom_ = percent;
}

void SheetPicture::setCol(int col) {
    col1 = col;
    if (col >= col2)
        col2 = col + 2;
}

void SheetPicture::setRow(int row) {
    row1 = row;
    if (row >= row2)
        row2 = row + 2;
}

} // namespace xls
