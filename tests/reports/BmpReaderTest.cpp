#include "reports/BmpReader.h"
#include "reports/FormFileError.h"

#include <gtest/gtest.h>
#include <random>

namespace quillan {
namespace {

using platform::Bitmap;
using platform::Color;

// Writes a .bmp in any of the layouts a reader may meet, so that each can be read back.
struct BmpSpec {
    int bitsPerPixel = 24;
    int width = 13; // odd: every row needs padding
    int height = 5;
    bool topDown = false;
    uint32_t headerSize = 40;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    int planes = 1;
    std::vector<Color> palette;
    std::vector<uint32_t> masks; // with compression 3
};

void put16(std::string& s, size_t at, uint32_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& s, size_t at, uint32_t v) {
    put16(s, at, v & 0xFFFF);
    put16(s, at + 2, v >> 16);
}

// The value of a pixel: a palette index for 8 bits or fewer, else 0xRRGGBB.
uint32_t sample(const BmpSpec& spec, int x, int y) {
    if (spec.bitsPerPixel <= 8)
        return static_cast<uint32_t>(x * 3 + y) % (1u << spec.bitsPerPixel) %
               std::max<size_t>(1, spec.palette.size());
    return static_cast<uint32_t>((x * 40) << 16 | (y * 50) << 8 | (x + y) * 7);
}

std::string encode(const BmpSpec& spec) {
    bool core = spec.headerSize == 12;
    size_t entry = core ? 3 : 4;
    size_t masks = spec.headerSize == 40 && spec.compression == 3 ? 12 : 0;
    size_t paletteAt = 14 + spec.headerSize + masks;
    size_t dataAt = paletteAt + spec.palette.size() * entry;
    size_t stride = (static_cast<size_t>(spec.width) * spec.bitsPerPixel + 31) / 32 * 4;
    std::string s(dataAt + stride * static_cast<size_t>(spec.height), '\0');
    s[0] = 'B';
    s[1] = 'M';
    put32(s, 2, static_cast<uint32_t>(s.size()));
    put32(s, 10, static_cast<uint32_t>(dataAt));
    put32(s, 14, spec.headerSize);
    if (core) {
        put16(s, 18, spec.width);
        put16(s, 20, spec.height);
        put16(s, 22, spec.planes);
        put16(s, 24, spec.bitsPerPixel);
    } else {
        put32(s, 18, static_cast<uint32_t>(spec.width));
        put32(s, 22, static_cast<uint32_t>(spec.topDown ? -spec.height : spec.height));
        put16(s, 26, spec.planes);
        put16(s, 28, spec.bitsPerPixel);
        put32(s, 30, spec.compression);
        put32(s, 46, spec.colorsUsed);
        for (size_t i = 0; i < spec.masks.size(); ++i)
            put32(s, 54 + 4 * i, spec.masks[i]);
    }
    for (size_t i = 0; i < spec.palette.size(); ++i) {
        s[paletteAt + i * entry] = static_cast<char>(spec.palette[i].b);
        s[paletteAt + i * entry + 1] = static_cast<char>(spec.palette[i].g);
        s[paletteAt + i * entry + 2] = static_cast<char>(spec.palette[i].r);
    }
    for (int y = 0; y < spec.height; ++y) {
        int fileRow = spec.topDown ? y : spec.height - 1 - y;
        size_t row = dataAt + stride * static_cast<size_t>(fileRow);
        for (int x = 0; x < spec.width; ++x) {
            uint32_t v = sample(spec, x, y);
            switch (spec.bitsPerPixel) {
            case 1:
                s[row + x / 8] = static_cast<char>(s[row + x / 8] | v << (7 - x % 8));
                break;
            case 4:
                s[row + x / 2] = static_cast<char>(s[row + x / 2] | v << (x % 2 ? 0 : 4));
                break;
            case 8:
                s[row + x] = static_cast<char>(v);
                break;
            default: {
                size_t at = row + static_cast<size_t>(x) * (spec.bitsPerPixel / 8);
                s[at] = static_cast<char>(v & 0xFF);
                s[at + 1] = static_cast<char>(v >> 8 & 0xFF);
                s[at + 2] = static_cast<char>(v >> 16 & 0xFF);
            }
            }
        }
    }
    return s;
}

std::vector<Color> paletteOf(int count) {
    std::vector<Color> p;
    for (int i = 0; i < count; ++i)
        p.push_back({static_cast<uint8_t>(i * 17), static_cast<uint8_t>(255 - i),
                     static_cast<uint8_t>(i * 3)});
    return p;
}

Color expectedColor(const BmpSpec& spec, int x, int y) {
    uint32_t v = sample(spec, x, y);
    if (spec.bitsPerPixel <= 8)
        return spec.palette[v];
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

void expectReadsBack(const BmpSpec& spec) {
    Bitmap b = decodeBmp(encode(spec), "test.bmp");
    ASSERT_EQ(b.width(), spec.width);
    ASSERT_EQ(b.height(), spec.height);
    for (int y = 0; y < spec.height; ++y)
        for (int x = 0; x < spec.width; ++x)
            ASSERT_EQ(b.pixel(x, y), expectedColor(spec, x, y))
                << spec.bitsPerPixel << " bpp at " << x << "," << y;
}

TEST(BmpReader, ReadsEveryUncompressedDepthBothWaysUp) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            BmpSpec spec;
            spec.bitsPerPixel = bpp;
            spec.topDown = topDown;
            if (bpp <= 8)
                spec.palette = paletteOf(bpp == 8 ? 40 : 1 << bpp);
            spec.colorsUsed = bpp == 8 ? 40 : 0;
            SCOPED_TRACE(bpp);
            expectReadsBack(spec);
        }
    }
}

TEST(BmpReader, ReadsTheOldShortHeaderAndChannelMasks) {
    BmpSpec old;
    old.headerSize = 12;
    old.bitsPerPixel = 8;
    old.palette = paletteOf(256);
    expectReadsBack(old);

    for (uint32_t header : {40u, 108u}) {
        BmpSpec masked;
        masked.bitsPerPixel = 32;
        masked.headerSize = header;
        masked.compression = 3;
        masked.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
        expectReadsBack(masked);
    }
}

TEST(BmpReader, RefusesWhatItCannotReadNamingTheFile) {
    auto refusal = [](const BmpSpec& spec) {
        try {
            decodeBmp(encode(spec), "bitmaps/3602r_p1.bmp");
        } catch (const FormFileError& e) {
            return std::string(e.what());
        }
        return std::string("read");
    };
    BmpSpec sixteen;
    sixteen.bitsPerPixel = 16;
    EXPECT_NE(refusal(sixteen).find("16 bits per pixel"), std::string::npos);
    BmpSpec rle;
    rle.bitsPerPixel = 8;
    rle.compression = 1;
    rle.palette = paletteOf(256);
    EXPECT_NE(refusal(rle).find("compressed"), std::string::npos);
    BmpSpec planes;
    planes.planes = 3;
    BmpSpec narrow;
    narrow.width = 0;
    BmpSpec header;
    header.headerSize = 20;
    BmpSpec colours;
    colours.bitsPerPixel = 8;
    colours.colorsUsed = 300;
    for (const BmpSpec& spec : {sixteen, rle, planes, narrow, header, colours})
        EXPECT_NE(refusal(spec).find("bitmaps/3602r_p1.bmp"), std::string::npos) << refusal(spec);

    std::string cut = encode(BmpSpec{});
    cut.resize(cut.size() - 1);
    EXPECT_THROW(decodeBmp(cut, "cut.bmp"), FormFileError);
    EXPECT_THROW(decodeBmp("GIF89a", "x.bmp"), FormFileError);
    EXPECT_THROW(decodeBmp("", "x.bmp"), FormFileError);
    try {
        readBmpFile("/nonexistent/form_p2.bmp");
        ADD_FAILURE() << "a missing file was read";
    } catch (const FormFileError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/form_p2.bmp"), std::string::npos);
    }
}

// Damaged files either read or are refused; none crashes or reads past its bytes (the
// sanitizers watch every byte here).
TEST(BmpReader, SurvivesDamagedFiles) {
    std::vector<std::string> seeds;
    for (int bpp : {1, 4, 8, 24, 32}) {
        BmpSpec spec;
        spec.bitsPerPixel = bpp;
        spec.width = 9;
        spec.height = 4;
        if (bpp <= 8)
            spec.palette = paletteOf(1 << std::min(bpp, 4));
        spec.colorsUsed = static_cast<uint32_t>(spec.palette.size());
        seeds.push_back(encode(spec));
    }
    std::mt19937 random(20240607);
    int read = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = seeds[static_cast<size_t>(round) % seeds.size()];
        int damage = 1 + static_cast<int>(random() % 4);
        for (int d = 0; d < damage; ++d) {
            size_t at = random() % std::min<size_t>(bytes.size(), 70);
            bytes[at] = static_cast<char>(random());
        }
        if (round % 5 == 0)
            bytes.resize(random() % bytes.size());
        try {
            Bitmap b = decodeBmp(bytes, "fuzz.bmp");
            if (!b.empty())
                (void)b.pixel(b.width() - 1, b.height() - 1);
            ++read;
        } catch (const FormFileError&) {
            ++refused;
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace quillan
