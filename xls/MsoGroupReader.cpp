#include "xls/MsoGroupReader.h"

#include "platform/fs/TempFile.h"
#include "xls/XlsError.h"

#include <cstdio>

namespace xls {

namespace {

constexpr size_t IdentifierSize = 16;
constexpr size_t MetafileHeaderSize = 34;
constexpr size_t BseNameLength = 33;

struct BlipKind {
    uint16_t instance;
    PictureType type;
    const char* extension;
};

// By instance with the second-identifier bit cleared. TIFF pictures are not kept.
constexpr BlipKind BlipKinds[] = {
    {0x3D4, PictureType::Emf, "emf"},  {0x216, PictureType::Wmf, "wmf"},
    {0x542, PictureType::Pict, "pct"}, {0x46A, PictureType::Jpeg, "jpg"},
    {0x6E2, PictureType::Jpeg, "jpg"}, {0x6E0, PictureType::Png, "png"},
    {0x7A8, PictureType::Dib, "bmp"}};

std::string bitmapFileHeader(size_t dataSize) {
    std::string header = "BM";
    uint32_t fileSize = static_cast<uint32_t>(dataSize + 14);
    for (int i = 0; i < 4; ++i)
        header += static_cast<char>((fileSize >> (8 * i)) & 0xFF);
    header += std::string(4, '\0');
    header += std::string("\x36\x00\x00\x00", 4);
    return header;
}

} // namespace

void MsoGroupReader::onRecord(const MsoHeader& header, RecordCursor body) {
    if (header.type == Bse) {
        uint8_t nameLength = body.u8(BseNameLength);
        if (nameLength != 0) {
            char message[80];
            std::snprintf(message, sizeof message,
                          "Unhandled string in the picture store [%.2X (%d)]", nameLength,
                          blipCount_ + 1);
            throw XlsError(message);
        }
        ++blipCount_;
        return;
    }
    if (header.type >= FirstBlip && header.type <= LastBlip)
        readBlip(header, body);
}

// A blip: one or two 16-byte identifiers (the instance's bit 0 says two), then a tag byte
// before a bitmap's data or a 34-byte header before a metafile's.
void MsoGroupReader::readBlip(const MsoHeader& header, RecordCursor body) {
    uint16_t instance = static_cast<uint16_t>(header.instance & ~0x0801);
    const BlipKind* kind = nullptr;
    for (const BlipKind& candidate : BlipKinds)
        if (candidate.instance == instance)
            kind = &candidate;
    if (!kind)
        return;
    bool metafile = kind->type == PictureType::Emf || kind->type == PictureType::Wmf ||
                    kind->type == PictureType::Pict;
    size_t identifiers = (header.instance & 0x01) ? 2 * IdentifierSize : IdentifierSize;
    size_t skipped = identifiers + (metafile ? MetafileHeaderSize : 1);
    if (body.size() < skipped)
        return;
    XlsPicture picture(blipCount_ - 1);
    picture.blipIndex = blipCount_;
    picture.type = kind->type;
    picture.fileKind = static_cast<uint8_t>(static_cast<int>(kind->type) - 1);
    picture.identifier = body.bytes(0, IdentifierSize);
    if (metafile)
        picture.metafileHeader = body.bytes(identifiers, MetafileHeaderSize);
    std::string_view data = body.bytes(skipped, body.size() - skipped);
    if (picturesInMemory) {
        picture.setMemoryData(data);
    } else {
        std::string file = picture.fileKind == XlsPicture::BitmapFile
                               ? bitmapFileHeader(data.size()) + std::string(data)
                               : std::string(data);
        try {
            picture.setFileData(
                platform::createTempFile("XLS", std::string(".") + kind->extension, file),
                static_cast<int32_t>(data.size()));
        } catch (const std::runtime_error& e) {
            throw XlsError(e.what());
        }
        picture.ownsTempFile = true;
    }
    if (onPicture)
        onPicture(std::move(picture));
}

} // namespace xls
