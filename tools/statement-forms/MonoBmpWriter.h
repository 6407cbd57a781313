#pragma once

#include <QImage>
#include <string>

namespace formgen {

// Writes a one-bit picture as an uncompressed .bmp, bottom row first, with its two
// colours as the palette. Throws std::runtime_error when the file cannot be written.
void writeMonoBmp(const QImage& mono, const std::string& path);

} // namespace formgen
