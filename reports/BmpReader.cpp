#include "reports/BmpReader.h"

#include "reports/FormFileError.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace quillan {

namespace {

// A page at 1200 dpi has 135 million pixels; a header that claims far more is a broken
// file, not a picture to allocate gigabytes for.
constexpr int64_t MaxPixels = 200'000'000;

constexpr uint32_t Uncompressed = 0;
constexpr uint32_t ChannelMasks = 3;

// One colour channel of a 32-bit pixel, as its header's mask describes it.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0;

    static Channel of(uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0)
            return c;
        c.shift = std::countr_zero(mask);
        int bits = std::popcount(mask);
        c.maximum = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return c;
    }
    uint8_t read(uint32_t pixel) const {
        if (mask == 0)
            return 0;
        uint64_t value = (pixel & mask) >> shift;
        return static_cast<uint8_t>(value * 255 / maximum);
    }
};

class BmpDecoder {
public:
    BmpDecoder(std::string_view bytes, const std::string& name) : bytes_(bytes), name_(name) {}

    platform::Bitmap decode();

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw FormFileError("The picture " + name_ + " cannot be read: " + why + ".");
    }
    void need(uint64_t offset, uint64_t length) const {
        if (offset + length > bytes_.size())
            fail("the file is cut short");
    }
    uint32_t byte(uint64_t at) const { return static_cast<uint8_t>(bytes_[at]); }
    uint16_t u16(uint64_t at) const {
        need(at, 2);
        return static_cast<uint16_t>(byte(at) | byte(at + 1) << 8);
    }
    uint32_t u32(uint64_t at) const {
        need(at, 4);
        return byte(at) | byte(at + 1) << 8 | byte(at + 2) << 16 | byte(at + 3) << 24;
    }

    void readHeader();
    void readMasks();
    void readPalette();
    void readRows();
    void readRow(const uint8_t* in, uint8_t* out, int width) const;

    std::string_view bytes_;
    const std::string& name_;

    uint32_t headerSize_ = 0;
    int64_t width_ = 0;
    int64_t height_ = 0;
    bool topDown_ = false;
    int bitsPerPixel_ = 0;
    uint32_t compression_ = Uncompressed;
    uint32_t colorsUsed_ = 0;
    uint64_t paletteStart_ = 0;
    Channel red_ = Channel::of(0x00FF0000);
    Channel green_ = Channel::of(0x0000FF00);
    Channel blue_ = Channel::of(0x000000FF);
    std::vector<platform::Color> palette_;
    platform::Bitmap bitmap_;
};

void BmpDecoder::readHeader() {
    if (bytes_.size() < 2 || bytes_[0] != 'B' || bytes_[1] != 'M')
        fail("it is not a BMP picture");
    headerSize_ = u32(14);
    int planes = 0;
    if (headerSize_ == 12) {
        width_ = u16(18);
        height_ = u16(20);
        planes = u16(22);
        bitsPerPixel_ = u16(24);
    } else if (headerSize_ >= 40 && headerSize_ <= 4096) {
        width_ = static_cast<int32_t>(u32(18));
        height_ = static_cast<int32_t>(u32(22));
        planes = u16(26);
        bitsPerPixel_ = u16(28);
        compression_ = u32(30);
        colorsUsed_ = u32(46);
    } else {
        fail("its header is of an unknown kind");
    }
    paletteStart_ = 14 + uint64_t(headerSize_);
    if (planes != 1)
        fail("it has " + std::to_string(planes) + " colour planes");
    if (height_ < 0) {
        topDown_ = true;
        height_ = -height_;
    }
    if (width_ <= 0 || height_ <= 0)
        fail("its size is " + std::to_string(width_) + " by " + std::to_string(height_));
    if (width_ * height_ > MaxPixels)
        fail("it is too large");
    switch (bitsPerPixel_) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32:
        break;
    default:
        fail("pictures with " + std::to_string(bitsPerPixel_) +
             " bits per pixel are not supported");
    }
    if (compression_ == ChannelMasks && bitsPerPixel_ == 32)
        return readMasks();
    if (compression_ != Uncompressed)
        fail("compressed pictures are not supported");
}

// Masks sit inside a longer header, or in three words right after the short one.
void BmpDecoder::readMasks() {
    uint64_t at = 14 + 40;
    if (headerSize_ == 40)
        paletteStart_ += 12;
    red_ = Channel::of(u32(at));
    green_ = Channel::of(u32(at + 4));
    blue_ = Channel::of(u32(at + 8));
}

void BmpDecoder::readPalette() {
    if (bitsPerPixel_ > 8)
        return;
    uint64_t entries = colorsUsed_ != 0 ? colorsUsed_ : 1u << bitsPerPixel_;
    if (entries > 256)
        fail("its palette has " + std::to_string(entries) + " colours");
    uint64_t entrySize = headerSize_ == 12 ? 3 : 4;
    need(paletteStart_, entries * entrySize);
    for (uint64_t i = 0; i < entries; ++i) {
        uint64_t at = paletteStart_ + i * entrySize;
        palette_.push_back({static_cast<uint8_t>(byte(at + 2)), static_cast<uint8_t>(byte(at + 1)),
                            static_cast<uint8_t>(byte(at))});
    }
}

void BmpDecoder::readRows() {
    uint64_t stride = (uint64_t(width_) * uint64_t(bitsPerPixel_) + 31) / 32 * 4;
    uint64_t dataOffset = u32(10);
    if (dataOffset + stride * uint64_t(height_) > bytes_.size())
        fail("its pixels are cut short");

    int width = static_cast<int>(width_);
    int height = static_cast<int>(height_);
    bitmap_ = bitsPerPixel_ == 1   ? platform::Bitmap::mono(width, height, palette_)
              : bitsPerPixel_ <= 8 ? platform::Bitmap::indexed(width, height, palette_)
                                   : platform::Bitmap::rgb(width, height);
    for (int y = 0; y < height; ++y) {
        uint64_t fileRow = static_cast<uint64_t>(topDown_ ? y : height - 1 - y);
        const auto* in =
            reinterpret_cast<const uint8_t*>(bytes_.data() + dataOffset + stride * fileRow);
        readRow(in, bitmap_.row(y), width);
    }
}

void BmpDecoder::readRow(const uint8_t* in, uint8_t* out, int width) const {
    switch (bitsPerPixel_) {
    case 1: // the file's rows as they are, without the padding bits after the last pixel
        std::copy_n(in, (width + 7) / 8, out);
        if (width % 8 != 0)
            out[width / 8] = static_cast<uint8_t>(out[width / 8] & (0xFF00 >> (width % 8)));
        break;
    case 4:
        for (int x = 0; x < width; ++x)
            out[x] = (x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
        break;
    case 8:
        std::copy_n(in, width, out);
        break;
    case 24:
        for (int x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
        break;
    case 32:
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            uint32_t pixel = in[0] | in[1] << 8 | in[2] << 16 | uint32_t(in[3]) << 24;
            out[0] = red_.read(pixel);
            out[1] = green_.read(pixel);
            out[2] = blue_.read(pixel);
        }
        break;
    }
}

platform::Bitmap BmpDecoder::decode() {
    readHeader();
    readPalette();
    readRows();
    return std::move(bitmap_);
}

} // namespace

platform::Bitmap decodeBmp(std::string_view bytes, const std::string& name) {
    return BmpDecoder(bytes, name).decode();
}

platform::Bitmap readBmpFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FormFileError("The picture " + path + " cannot be opened.");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw FormFileError("The picture " + path + " cannot be read.");
    return decodeBmp(bytes, path);
}

} // namespace quillan
