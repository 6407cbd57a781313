#include "xls/XlsPictures.h"

#include "xls/XlsError.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace xls {

namespace {

constexpr size_t BitmapFileHeader = 14;

std::string lowerAscii(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

XlsPicture::XlsPicture(int id, const MessageHandler* messages)
    : name("XLSPicture " + std::to_string(id)), blipIndex(id + 1), messages_(messages) {}

void XlsPicture::setFilename(const std::string& fileName) {
    size = 0;
    filename_.clear();
    type = PictureType::Undefined;
    if (fileName.empty())
        return;
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) {
        tell("Can not find file \"" + fileName + "\"");
        return;
    }
    std::string extension = lowerAscii(std::filesystem::path(fileName).extension().string());
    if (!extension.empty())
        extension.erase(0, 1);
    uint8_t kind = extension == "jpg" || extension == "jpeg" ? 4
                   : extension == "png"                      ? 5
                   : extension == "bmp"                      ? BitmapFile
                                                             : 0;
    if (kind == 0) {
        tell("Unknown picture file type \"" + extension + "\"");
        return;
    }
    auto bytes = static_cast<int64_t>(std::filesystem::file_size(fileName, error));
    size = static_cast<int32_t>(kind == BitmapFile ? bytes - BitmapFileHeader : bytes);
    filename_ = fileName;
    fileKind = kind;
    type = static_cast<PictureType>(kind + 1);
    memory_.clear();
}

void XlsPicture::setFileData(const std::string& fileName, int32_t dataSize) {
    memory_.clear();
    filename_ = fileName;
    size = dataSize;
}

void XlsPicture::setMemoryData(std::string_view data) {
    memory_.assign(data);
    filename_.clear();
    size = static_cast<int32_t>(data.size());
}

std::string XlsPicture::data() const {
    if (filename_.empty())
        return memory_;
    std::ifstream in(filename_, std::ios::binary);
    if (!in)
        throw XlsError("Cannot open file \"" + filename_ + "\"");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string all = bytes.str();
    if (fileKind == BitmapFile)
        return all.size() >= BitmapFileHeader ? all.substr(BitmapFileHeader) : std::string();
    return all;
}

std::optional<platform::PixelSize> XlsPicture::pixelSize() const {
    if (width > 0 && height > 0)
        return platform::PixelSize{width, height};
    std::string bytes = data();
    if (fileKind == BitmapFile || type == PictureType::Dib) {
        // The probe reads a bitmap file: give the data its file header back.
        std::string header(BitmapFileHeader, '\0');
        header[0] = 'B';
        header[1] = 'M';
        bytes = header + bytes;
    }
    return platform::pictureSize(bytes);
}

XlsPicture* XlsPictures::findByIndex(int32_t blipIndex) {
    for (XlsPicture& picture : items_)
        if (picture.blipIndex == blipIndex)
            return &picture;
    return nullptr;
}

XlsPicture* XlsPictures::findByFilename(std::string_view fileName) {
    std::string wanted = lowerAscii(std::string(fileName));
    for (XlsPicture& picture : items_)
        if (lowerAscii(picture.filename()) == wanted)
            return &picture;
    return nullptr;
}

void XlsPictures::deleteTempFiles() {
    for (XlsPicture& picture : items_) {
        if (!picture.ownsTempFile || picture.filename().size() <= 4)
            continue;
        std::error_code error;
        std::filesystem::remove(picture.filename(), error);
        picture.ownsTempFile = false;
    }
}

} // namespace xls
