#include "xls/Notes.h"

#include "xls/Cell.h"
#include "xls/XlsUtils.h"

#include <algorithm>

namespace xls {

Note::Note(int id) : name("Note " + std::to_string(id)) {
    defaultAnchor();
}

void Note::setCellRow(int row) {
    cellRow_ = row;
    cellKey_ = row * 256 + (cellCol_ & 0xFF);
    defaultAnchor();
}

void Note::setCellCol(int col) {
    cellCol_ = col;
    cellKey_ = cellRow_ * 256 + (col & 0xFF);
    defaultAnchor();
}

void Note::defaultAnchor() {
    if (anchorSet)
        return;
    row1 = std::max(0, cellRow_ - 1);
    col1 = std::max(0, cellCol_ + 1);
    row2 = row1 + 2;
    col2 = col1 + 2;
}

std::string Note::text() const {
    if (legacy)
        return fromXlsString(flaggedText);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            joined += "\r\n";
        joined += lines[i];
    }
    return joined;
}

void Note::setText(const std::string& text) {
    legacy = false;
    lines.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size())
                lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

namespace {

std::string trimmedWithoutCr(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && static_cast<uint8_t>(text[start]) <= ' ')
        ++start;
    size_t end = text.size();
    while (end > start && static_cast<uint8_t>(text[end - 1]) <= ' ')
        --end;
    std::string trimmed;
    for (char c : text.substr(start, end - start))
        if (c != '\r')
            trimmed += c;
    return trimmed;
}

} // namespace

std::string Note::storedText() const {
    return trimmedWithoutCr(text());
}

std::string Note::storedFlaggedText(bool unicode) const {
    std::string stored = storedText();
    if (!flaggedText.empty() && trimmedWithoutCr(fromXlsString(flaggedText)) == stored &&
        (!unicode || isWideXlsString(flaggedText)))
        return flaggedText;
    return toXlsString(stored, unicode);
}

Note* Notes::findByObjectId(int32_t id) {
    for (Note& note : items_)
        if (note.objectId == id)
            return &note;
    return nullptr;
}

} // namespace xls
