#pragma once

#include "platform/graphics/PictureSize.h"
#include "xls/Messages.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace xls {

// Picture kinds by the number the drawing records give them.
enum class PictureType : uint8_t {
    Undefined = 0,
    Undefined2 = 1,
    Emf = 2,
    Wmf = 3,
    Pict = 4,
    Jpeg = 5,
    Png = 6,
    Dib = 7,
};

// A picture of the workbook, kept once however many sheets show it. Its bytes live in
// memory or in a file: one the user named, or a temporary one made when a file was read.
class XlsPicture {
public:
    // File kinds: 1 EMF, 2 WMF, 3 PICT, 4 JPEG, 5 PNG, 6 a bitmap file whose 14-byte file
    // header is not part of the picture's data.
    static constexpr uint8_t BitmapFile = 6;

    // `messages` shows the picture's messages (its collection's handler).
    explicit XlsPicture(int id, const MessageHandler* messages = nullptr);

    std::string name;
    PictureType type = PictureType::Undefined;
    uint8_t fileKind = 0;
    int32_t size = 0;
    int32_t blipIndex; // its place in the picture store, from 1
    int32_t refCount = 0;
    int32_t width = 0; // pixels; 0 takes the picture's own size
    int32_t height = 0;
    std::string identifier;     // the 16-byte identifier of the drawing records
    std::string metafileHeader; // a metafile's 34-byte header, as read
    bool ownsTempFile = false;

    const std::string& filename() const { return filename_; }
    // A JPEG, PNG or BMP file by its extension. A missing file or another extension is told
    // in a message and leaves the picture empty.
    void setFilename(const std::string& fileName);
    // A temporary file made for the picture, its data size.
    void setFileData(const std::string& fileName, int32_t dataSize);
    void setMemoryData(std::string_view data);
    bool inMemory() const { return filename_.empty() && !memory_.empty(); }

    // The picture's data: from memory, or from its file (a bitmap file's header left out).
    // An unreadable file raises XlsError.
    std::string data() const;
    // The size in pixels: width and height when both are set, else the picture's own.
    std::optional<platform::PixelSize> pixelSize() const;

private:
    friend class XlsPictures;
    void tell(const std::string& message) const {
        if (messages_ && *messages_)
            (*messages_)(message);
    }

    std::string filename_;
    std::string memory_;
    const MessageHandler* messages_;
};

class XlsPictures {
public:
    // `messages` shows the messages of the pictures and their placements (the workbook's
    // handler).
    explicit XlsPictures(MessageHandler messages = {}) : messages_(std::move(messages)) {}
    XlsPictures(const XlsPictures&) = delete;
    XlsPictures& operator=(const XlsPictures&) = delete;

    XlsPicture& add() { return items_.emplace_back(nextId_++, &messages_); }
    // A picture made elsewhere (the drawing reader's) joins the list.
    XlsPicture& adopt(XlsPicture&& picture) {
        ++nextId_;
        XlsPicture& adopted = items_.emplace_back(std::move(picture));
        adopted.messages_ = &messages_;
        return adopted;
    }
    void tell(const std::string& message) const {
        if (messages_)
            messages_(message);
    }
    XlsPicture& item(size_t index) { return items_.at(index); }
    const XlsPicture& item(size_t index) const { return items_.at(index); }
    size_t count() const { return items_.size(); }
    void clear() { items_.clear(); }
    // The first picture at that place of the picture store, or null.
    XlsPicture* findByIndex(int32_t blipIndex);
    // The first picture of that file name, compared without regard to case, or null.
    XlsPicture* findByFilename(std::string_view fileName);
    // Temporary files the pictures own, deleted.
    void deleteTempFiles();

private:
    MessageHandler messages_;
    std::deque<XlsPicture> items_;
    int nextId_ = 0;
};

} // namespace xls
