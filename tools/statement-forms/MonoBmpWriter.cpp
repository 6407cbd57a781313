#include "tools/statement-forms/MonoBmpWriter.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

namespace formgen {

namespace {

void put(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

} // namespace

void writeMonoBmp(const QImage& mono, const std::string& path) {
    if (mono.format() != QImage::Format_Mono)
        throw std::runtime_error("not a one-bit picture: " + path);
    const uint32_t stride = static_cast<uint32_t>((mono.width() + 31) / 32 * 4);
    const uint32_t paletteSize = 2 * 4;
    const uint32_t dataOffset = 14 + 40 + paletteSize;
    const uint32_t dataSize = stride * static_cast<uint32_t>(mono.height());

    std::string out;
    out += "BM";
    put(out, dataOffset + dataSize, 4);
    put(out, 0, 4);
    put(out, dataOffset, 4);
    put(out, 40, 4);
    put(out, static_cast<uint32_t>(mono.width()), 4);
    put(out, static_cast<uint32_t>(mono.height()), 4);
    put(out, 1, 2); // planes
    put(out, 1, 2); // bits per pixel
    put(out, 0, 4); // uncompressed
    put(out, dataSize, 4);
    put(out, 11811, 4); // 300 pixels per inch
    put(out, 11811, 4);
    put(out, 2, 4);
    put(out, 0, 4);
    for (int i = 0; i < 2; ++i) {
        QRgb c = mono.color(i);
        out += static_cast<char>(qBlue(c));
        out += static_cast<char>(qGreen(c));
        out += static_cast<char>(qRed(c));
        out += '\0';
    }
    // A one-bit row of the picture is laid out as a row of the file: leftmost pixel in the
    // top bit, rows padded to four bytes.
    for (int y = mono.height() - 1; y >= 0; --y) {
        const char* row = reinterpret_cast<const char*>(mono.constScanLine(y));
        std::string line(row, row + std::min<qsizetype>(mono.bytesPerLine(), stride));
        line.resize(stride, '\0');
        out += line;
    }

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

} // namespace formgen
