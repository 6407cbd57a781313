#include "platform/qt/PdfCanvas.h"

#include <QImage>
#include <QString>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace platform {

namespace {

// The program's text is bytes: valid UTF-8 reads as such, anything else byte for byte (as the
// window system shows it).
std::u32string charactersOf(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        out.assign(bytes.begin(), bytes.end());
        return out;
    }
    for (size_t i = 0; i < bytes.size();) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        int length = lead < 0x80         ? 1
                     : (lead >> 5) == 6  ? 2
                     : (lead >> 4) == 14 ? 3
                     : (lead >> 3) == 30 ? 4
                                         : 0;
        char32_t c = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
        bool valid = length > 0 && i + static_cast<size_t>(length) <= bytes.size();
        for (int k = 1; valid && k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            c = c << 6 | (next & 0x3F);
        }
        if (!valid || (length > 1 && c < 0x80)) {
            out.assign(bytes.begin(), bytes.end());
            for (char32_t& latin : out)
                latin &= 0xFF;
            return out;
        }
        out += c;
        i += static_cast<size_t>(length);
    }
    return out;
}

void appendHex4(std::string& out, unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[value >> shift & 0xF];
}

std::string utf16Hex(char32_t c) {
    std::string out;
    if (c >= 0x10000) {
        c -= 0x10000;
        appendHex4(out, 0xD800 + static_cast<unsigned>(c >> 10));
        appendHex4(out, 0xDC00 + static_cast<unsigned>(c & 0x3FF));
    } else {
        appendHex4(out, static_cast<unsigned>(c));
    }
    return out;
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string colorOperands(Color c) {
    return number(c.r / 255.0) + " " + number(c.g / 255.0) + " " + number(c.b / 255.0);
}

// The unused part of a palette reads as black.
std::string paletteHex(std::vector<Color> palette, size_t entries) {
    palette.resize(entries, Color{0, 0, 0});
    std::string hex = "<";
    char pair[3];
    for (const Color& c : palette)
        for (uint8_t v : {c.r, c.g, c.b}) {
            std::snprintf(pair, sizeof pair, "%02X", v);
            hex += pair;
        }
    return hex + ">";
}

// A six-letter tag in front of a subset font's name, different for each font of a file.
std::string subsetTag(int n) {
    std::string tag = "QUIL";
    tag += static_cast<char>('A' + n / 26 % 26);
    tag += static_cast<char>('A' + n % 26);
    return tag + "+";
}

constexpr char ToUnicodeHead[] = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                                 "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) "
                                 "/Supplement 0 >> def\n/CMapName /Adobe-Identity-UCS def\n"
                                 "/CMapType 2 def\n1 begincodespacerange\n<0000> <FFFF>\n"
                                 "endcodespacerange\n";
constexpr char ToUnicodeTail[] = "endcmap\nCMapName currentdict /CMapType get defineresource pop\n"
                                 "end\nend\n";

} // namespace

int PdfSheet::printableWidth() const {
    return static_cast<int>(std::lround((widthPoints - 2 * marginPoints) * dpi / 72.0));
}

int PdfSheet::printableHeight() const {
    return static_cast<int>(std::lround((heightPoints - 2 * marginPoints) * dpi / 72.0));
}

int PdfSheet::margin() const {
    return static_cast<int>(std::lround(marginPoints * dpi / 72.0));
}

PdfCanvas::PdfCanvas(PdfSheet sheet) : sheet_(sheet) {}

PdfCanvas::~PdfCanvas() {
    abort();
}

bool PdfCanvas::begin(const std::string& path, const std::string& title) {
    if (!writer_.open(path))
        return false;
    title_ = title;
    catalog_ = writer_.reserve();
    pagesObject_ = writer_.reserve();
    resources_ = writer_.reserve();
    info_ = writer_.reserve();
    pages_.clear();
    fontsUsed_.clear();
    images_.clear();
    startPage();
    position_ = {};
    return true;
}

// Device pixels from the printable area's top-left corner, y downwards.
void PdfCanvas::startPage() {
    double scale = 72.0 / sheet_.dpi;
    content_ = "q " + number(scale) + " 0 0 " + number(-scale) + " " + number(sheet_.marginPoints) +
               " " + number(sheet_.heightPoints - sheet_.marginPoints) + " cm\n";
    strokeSet_ = fillSet_ = false;
}

void PdfCanvas::finishPage() {
    int contents = writer_.reserve();
    writer_.stream(contents, "", content_ + "Q\n");
    content_.clear();
    int page = writer_.reserve();
    std::string body = "<< /Type /Page /Parent ";
    appendNumber(body, pagesObject_);
    body += " 0 R /MediaBox [0 0 " + number(sheet_.widthPoints) + " " +
            number(sheet_.heightPoints) + "] /Resources ";
    appendNumber(body, resources_);
    body += " 0 R /Contents ";
    appendNumber(body, contents);
    body += " 0 R >>";
    writer_.object(page, body);
    pages_.push_back(page);
}

void PdfCanvas::newPage() {
    if (!active())
        return;
    finishPage();
    startPage();
}

bool PdfCanvas::end() {
    if (!active())
        return false;
    finishPage();
    writeFonts();
    writeResources();
    std::string kids;
    for (int page : pages_) {
        appendNumber(kids, page);
        kids += " 0 R ";
    }
    std::string pages = "<< /Type /Pages /Count ";
    appendNumber(pages, static_cast<long>(pages_.size()));
    writer_.object(pagesObject_, pages + " /Kids [" + kids + "] >>");
    std::string catalog = "<< /Type /Catalog /Pages ";
    appendNumber(catalog, pagesObject_);
    writer_.object(catalog_, catalog + " 0 R >>");
    writer_.object(info_, "<< /Title " + pdfLiteral(title_) +
                              " /Creator (Quillan) /Producer (Quillan) >>");
    return writer_.finish(catalog_, info_);
}

void PdfCanvas::abort() {
    writer_.abandon();
    content_.clear();
}

void PdfCanvas::writeResources() {
    std::string body = "<< /Font <<";
    for (const auto& [face, use] : fontsUsed_) {
        body += " /" + use.name + " ";
        appendNumber(body, use.object);
        body += " 0 R";
    }
    body += " >> /XObject <<";
    for (const auto& [name, object] : images_) {
        body += " /" + name + " ";
        appendNumber(body, object);
        body += " 0 R";
    }
    writer_.object(resources_, body + " >> >>");
}

void PdfCanvas::writeFonts() {
    for (const auto& [face, use] : fontsUsed_)
        writeFont(*face, use);
}

// A Type 0 font over the face's glyph numbers, with the widths of the glyphs drawn and the
// characters they stand for, so that the text can be searched and copied.
void PdfCanvas::writeFont(PdfFontFace& face, const FontUse& use) {
    double unit = 1000.0 / face.unitsPerEm();
    std::set<uint16_t> glyphs;
    std::string widths, toUnicode = ToUnicodeHead;
    size_t inBlock = 0;
    std::string block;
    auto flushBlock = [&] {
        if (inBlock == 0)
            return;
        toUnicode += std::to_string(inBlock) + " beginbfchar\n" + block + "endbfchar\n";
        block.clear();
        inBlock = 0;
    };
    for (const auto& [glyph, character] : use.glyphs) {
        glyphs.insert(glyph);
        widths +=
            std::to_string(glyph) + " [" + number(face.glyph(character).advance * unit) + "] ";
        block += "<";
        appendHex4(block, glyph);
        block += "> <" + utf16Hex(character) + ">\n";
        if (++inBlock == 100)
            flushBlock();
    }
    flushBlock();
    toUnicode += ToUnicodeTail;

    std::string name = subsetTag(use.object) + face.postScriptName();
    int program = writer_.reserve(), descriptor = writer_.reserve(), cidFont = writer_.reserve(),
        unicode = writer_.reserve();
    std::string font = face.subsetProgram(glyphs);
    writer_.stream(program, " /Length1 " + std::to_string(font.size()), font);
    const auto& box = face.boundingBox();
    int flags = 32 | (face.italicAngle() != 0 ? 64 : 0);
    writer_.object(descriptor, "<< /Type /FontDescriptor /FontName /" + name + " /Flags " +
                                   std::to_string(flags) + " /FontBBox [" + number(box[0] * unit) +
                                   " " + number(box[1] * unit) + " " + number(box[2] * unit) + " " +
                                   number(box[3] * unit) + "] /ItalicAngle " +
                                   number(face.italicAngle()) + " /Ascent " +
                                   number(face.ascender() * unit) + " /Descent " +
                                   number(-face.descender() * unit) + " /CapHeight " +
                                   number(face.capHeight() * unit) + " /StemV 80 /FontFile2 " +
                                   std::to_string(program) + " 0 R >>");
    writer_.object(cidFont,
                   "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                       " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 "
                       ">> /FontDescriptor " +
                       std::to_string(descriptor) + " 0 R /CIDToGIDMap /Identity /W [" + widths +
                       "] >>");
    writer_.stream(unicode, "", toUnicode);
    writer_.object(use.object, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name +
                                   " /Encoding /Identity-H /DescendantFonts [" +
                                   std::to_string(cidFont) + " 0 R] /ToUnicode " +
                                   std::to_string(unicode) + " 0 R >>");
}

void PdfCanvas::setFont(const FontSpec& font) {
    font_ = font;
    face_ = nullptr;
}

PdfFontFace* PdfCanvas::face() {
    if (face_)
        return face_;
    auto key = std::make_tuple(font_.name, font_.bold, font_.italic);
    auto known = faceOf_.find(key);
    if (known != faceOf_.end())
        return face_ = known->second;
    // Names the system resolves to the same face ("Arial" and "Liberation Sans") share it, so
    // that a document embeds each face once.
    std::unique_ptr<PdfFontFace> loaded = PdfFontFace::load(font_.name, font_.bold, font_.italic);
    if (loaded) {
        for (const auto& face : faces_)
            if (face->sameFaceAs(*loaded))
                return face_ = faceOf_[key] = face.get();
        faces_.push_back(std::move(loaded));
        face_ = faces_.back().get();
    }
    return faceOf_[key] = face_;
}

double PdfCanvas::pixelSize() const {
    return std::max(font_.size, 1) * sheet_.dpi / 72.0;
}

void PdfCanvas::setPen(Color color, int width, PenStyle style) {
    penColor_ = color;
    penWidth_ = std::max(width, 1);
    penStyle_ = style;
    strokeSet_ = false;
}

void PdfCanvas::setBrush(Color color, BrushStyle style) {
    brushColor_ = color;
    brushStyle_ = style;
}

int PdfCanvas::textWidth(std::string_view text) {
    PdfFontFace* f = face();
    if (!f)
        return 0;
    long units = 0;
    for (char32_t c : charactersOf(text))
        units += f->glyph(c).advance;
    return static_cast<int>(std::lround(units * pixelSize() / f->unitsPerEm()));
}

int PdfCanvas::textHeight(std::string_view) {
    PdfFontFace* f = face();
    if (!f)
        return 0;
    return static_cast<int>(
        std::lround((f->ascender() + f->descender()) * pixelSize() / f->unitsPerEm()));
}

void PdfCanvas::textOut(int x, int y, std::string_view text) {
    PdfFontFace* f = face();
    if (!active() || !f || text.empty())
        return;
    FontUse& use = fontsUsed_[f];
    if (use.object == 0) {
        use.object = writer_.reserve();
        use.name = "F" + std::to_string(fontsUsed_.size());
    }
    double size = pixelSize();
    double scale = size / f->unitsPerEm();
    long baseline = y + std::lround(f->ascender() * scale);
    std::string glyphs;
    long units = 0;
    for (char32_t c : charactersOf(text)) {
        PdfFontFace::Glyph g = f->glyph(c);
        use.glyphs.emplace(g.id, c);
        appendHex4(glyphs, g.id);
        units += g.advance;
    }
    setFill(penColor_);
    content_ += "BT /" + use.name + " " + number(size) + " Tf ";
    if (f->synthesizedBold())
        content_ += "2 Tr " + number(size / 30) + " w " + colorOperands(penColor_) + " RG ";
    content_ += "1 0 " + std::string(f->synthesizedItalic() ? "0.2" : "0") + " -1 ";
    append(static_cast<long>(x));
    append(baseline);
    content_ += "Tm <" + glyphs + "> Tj ";
    if (f->synthesizedBold()) {
        content_ += "0 Tr ";
        strokeSet_ = false;
    }
    content_ += "ET\n";
    if (font_.underline) {
        long top = baseline + std::lround(f->underlinePosition() * scale);
        long thickness = std::max(1L, std::lround(f->underlineThickness() * scale));
        append(static_cast<long>(x));
        append(top);
        append(std::lround(units * scale));
        append(thickness);
        content_ += "re f\n";
    }
}

void PdfCanvas::moveTo(int x, int y) {
    position_ = {x, y};
}

void PdfCanvas::setStroke() {
    if (strokeSet_)
        return;
    content_ += colorOperands(penColor_) + " RG ";
    append(static_cast<long>(penWidth_));
    content_ += "w ";
    if (penStyle_ == PenStyle::Dot) {
        content_ += "[";
        append(static_cast<long>(penWidth_));
        append(static_cast<long>(2 * penWidth_));
        content_ += "] 0 d\n";
    } else {
        content_ += "[] 0 d\n";
    }
    strokeSet_ = true;
}

void PdfCanvas::setFill(Color color) {
    if (fillSet_ && fill_ == color)
        return;
    content_ += colorOperands(color) + " rg\n";
    fill_ = color;
    fillSet_ = true;
}

void PdfCanvas::paintPath(bool fill, bool stroke) {
    stroke = stroke && penStyle_ != PenStyle::Clear;
    fill = fill && brushStyle_ != BrushStyle::Clear;
    content_ += fill && stroke ? "B\n" : fill ? "f\n" : stroke ? "S\n" : "n\n";
}

void PdfCanvas::append(long value) {
    appendNumber(content_, value);
    content_ += ' ';
}

void PdfCanvas::append(double value) {
    content_ += number(value) + " ";
}

void PdfCanvas::lineTo(int x, int y) {
    if (active() && penStyle_ != PenStyle::Clear) {
        setStroke();
        append(static_cast<long>(position_.x));
        append(static_cast<long>(position_.y));
        content_ += "m ";
        append(static_cast<long>(x));
        append(static_cast<long>(y));
        content_ += "l S\n";
    }
    position_ = {x, y};
}

// Right and bottom are exclusive, as on the desktop platform.
void PdfCanvas::rectangle(int left, int top, int right, int bottom) {
    if (!active())
        return;
    setStroke();
    setFill(brushColor_);
    append(static_cast<long>(left));
    append(static_cast<long>(top));
    append(static_cast<long>(right - left - 1));
    append(static_cast<long>(bottom - top - 1));
    content_ += "re ";
    paintPath(true, true);
}

void PdfCanvas::fillRect(int left, int top, int right, int bottom) {
    if (!active() || brushStyle_ == BrushStyle::Clear)
        return;
    setFill(brushColor_);
    append(static_cast<long>(left));
    append(static_cast<long>(top));
    append(static_cast<long>(right - left));
    append(static_cast<long>(bottom - top));
    content_ += "re f\n";
}

void PdfCanvas::roundRect(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight) {
    if (!active())
        return;
    setStroke();
    setFill(brushColor_);
    double l = left, t = top, r = right - 1, b = bottom - 1;
    double rx = std::min(cornerWidth / 2.0, (r - l) / 2),
           ry = std::min(cornerHeight / 2.0, (b - t) / 2);
    const double k = 0.5523; // a quarter circle as one Bezier curve
    auto point = [&](double x, double y) {
        append(x);
        append(y);
    };
    point(l + rx, t);
    content_ += "m ";
    point(r - rx, t);
    content_ += "l ";
    point(r - rx + k * rx, t);
    point(r, t + ry - k * ry);
    point(r, t + ry);
    content_ += "c ";
    point(r, b - ry);
    content_ += "l ";
    point(r, b - ry + k * ry);
    point(r - rx + k * rx, b);
    point(r - rx, b);
    content_ += "c ";
    point(l + rx, b);
    content_ += "l ";
    point(l + rx - k * rx, b);
    point(l, b - ry + k * ry);
    point(l, b - ry);
    content_ += "c ";
    point(l, t + ry);
    content_ += "l ";
    point(l, t + ry - k * ry);
    point(l + rx - k * rx, t);
    point(l + rx, t);
    content_ += "c h ";
    paintPath(true, true);
}

void PdfCanvas::polygon(const std::vector<Point>& points) {
    if (!active() || points.empty())
        return;
    setStroke();
    setFill(brushColor_);
    for (size_t i = 0; i < points.size(); ++i) {
        append(static_cast<long>(points[i].x));
        append(static_cast<long>(points[i].y));
        content_ += i == 0 ? "m " : "l ";
    }
    content_ += "h ";
    paintPath(true, true);
}

void PdfCanvas::drawImage(const Image& image, int left, int top, int width, int height) {
    int object = writer_.reserve();
    std::string name = "Im" + std::to_string(images_.size() + 1);
    images_.emplace_back(name, object);
    writer_.stream(object,
                   " /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) +
                       " /Height " + std::to_string(image.height) + " /ColorSpace " +
                       image.colorSpace + " /BitsPerComponent " +
                       std::to_string(image.bitsPerComponent) + " /Interpolate false",
                   image.pixels);
    content_ += "q ";
    append(static_cast<long>(width));
    content_ += "0 0 ";
    append(static_cast<long>(-height));
    append(static_cast<long>(left));
    append(static_cast<long>(top + height));
    content_ += "cm /" + name + " Do Q\n";
}

// A picture of two colours goes in at one bit per pixel; others at a byte per pixel or per
// colour.
void PdfCanvas::stretchImage(const Bitmap& picture, int left, int top, int width, int height) {
    if (!active() || picture.empty())
        return;
    Image image;
    image.width = picture.width();
    image.height = picture.height();
    size_t w = static_cast<size_t>(picture.width());
    if (picture.format() == Bitmap::Format::Rgb) {
        image.colorSpace = "/DeviceRGB";
        for (int y = 0; y < picture.height(); ++y)
            image.pixels.append(reinterpret_cast<const char*>(picture.row(y)), w * 3);
    } else if (picture.palette().size() <= 2) {
        image.bitsPerComponent = 1;
        image.colorSpace = "[/Indexed /DeviceRGB 1 " + paletteHex(picture.palette(), 2) + "]";
        std::string row((w + 7) / 8, '\0');
        for (int y = 0; y < picture.height(); ++y) {
            std::fill(row.begin(), row.end(), '\0');
            const uint8_t* pixels = picture.row(y);
            for (size_t x = 0; x < w; ++x)
                if (pixels[x] != 0) // an index past the palette reads as black, as 1 does here
                    row[x / 8] = static_cast<char>(row[x / 8] | 0x80 >> (x % 8));
            image.pixels += row;
        }
    } else {
        image.colorSpace = "[/Indexed /DeviceRGB 255 " + paletteHex(picture.palette(), 256) + "]";
        for (int y = 0; y < picture.height(); ++y)
            image.pixels.append(reinterpret_cast<const char*>(picture.row(y)), w);
    }
    drawImage(image, left, top, width, height);
}

bool PdfCanvas::stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                              int height) {
    QImage picture(QString::fromStdString(bmpPath));
    if (picture.isNull())
        return false;
    if (!active())
        return true;
    Image image;
    image.width = picture.width();
    image.height = picture.height();
    size_t w = static_cast<size_t>(picture.width());
    if (picture.depth() == 1 && picture.colorCount() == 2) {
        picture = picture.convertToFormat(QImage::Format_Mono);
        std::vector<Color> palette;
        for (QRgb c : picture.colorTable())
            palette.push_back({static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)),
                               static_cast<uint8_t>(qBlue(c))});
        image.bitsPerComponent = 1;
        image.colorSpace = "[/Indexed /DeviceRGB 1 " + paletteHex(palette, 2) + "]";
        for (int y = 0; y < picture.height(); ++y)
            image.pixels.append(reinterpret_cast<const char*>(picture.constScanLine(y)),
                                (w + 7) / 8);
    } else {
        picture = picture.convertToFormat(QImage::Format_RGB888);
        image.colorSpace = "/DeviceRGB";
        for (int y = 0; y < picture.height(); ++y)
            image.pixels.append(reinterpret_cast<const char*>(picture.constScanLine(y)), w * 3);
    }
    drawImage(image, left, top, width, height);
    return true;
}

} // namespace platform
