#include "platform/qt/PdfCanvas.h"

#include "platform/qt/QtText.h"

#include <QImage>
#include <QString>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace platform {

namespace {

// Calls visit for each character of a text, read as the window system reads the program's
// bytes (QtText.h).
template <typename Visit>
void forEachCharacter(std::string_view bytes, Visit visit) {
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        for (char c : bytes)
            visit(static_cast<char32_t>(c));
        return;
    }
    for (char32_t c : toQt(bytes).toUcs4())
        visit(c);
}

void appendHex4(std::string& out, unsigned value) {
    static const char digits[] = "0123456789ABCDEF";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[value >> shift & 0xF];
}

// A code of the document's fonts in a literal string: one byte, or two from E000 on; the
// bytes a string cannot hold as they are escaped.
void appendCode(std::string& out, unsigned code) {
    auto put = [&out](unsigned byte) {
        if (byte == '(' || byte == ')' || byte == '\\')
            out += '\\';
        if (byte == '\r') {
            out += "\\r";
            return;
        }
        out += static_cast<char>(byte);
    };
    if (code > 0xFF)
        put(code >> 8);
    put(code & 0xFF);
}

// A code as a CMap writes it, "<41>" or "<E003>".
std::string codeHex(unsigned code) {
    char text[8];
    std::snprintf(text, sizeof text, code > 0xFF ? "<%04X>" : "<%02X>", code);
    return text;
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

constexpr char CMapHead[] = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n";
constexpr char CMapTail[] = "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
constexpr char IdentitySystem[] = "<< /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>";

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

void PdfCanvas::begin(const std::string& title) {
    writer_.start();
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
}

// Device pixels from the printable area's top-left corner, y downwards.
void PdfCanvas::startPage() {
    double scale = 72.0 / sheet_.dpi;
    content_.clear(); // keeps the room of the pages before
    content_ += "q " + number(scale) + " 0 0 " + number(-scale) + " " +
                number(sheet_.marginPoints) + " " +
                number(sheet_.heightPoints - sheet_.marginPoints) + " cm\n";
    strokeSet_ = fillSet_ = inText_ = false;
}

void PdfCanvas::finishPage() {
    int contents = writer_.reserve();
    endText();
    content_ += "Q\n";
    writer_.stream(contents, "", content_, PdfWriter::Packing::Fast);
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

void PdfCanvas::end() {
    if (!active())
        return;
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
    writer_.finish(catalog_, info_);
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

// The faces in the order the document first used them, so that a document is written alike
// each time.
PdfCanvas::FontUse& PdfCanvas::useOf(PdfFontFace* face) {
    for (auto& [used, use] : fontsUsed_)
        if (used == face)
            return use;
    FontUse& use = fontsUsed_.emplace_back(face, FontUse{}).second;
    use.object = writer_.reserve();
    use.name = "F" + std::to_string(fontsUsed_.size());
    return use;
}

void PdfCanvas::writeFonts() {
    for (const auto& [face, use] : fontsUsed_)
        writeFont(*face, use);
}

unsigned PdfCanvas::FontUse::code(uint16_t glyph, char32_t character) {
    if (codeOfGlyph.size() <= glyph)
        codeOfGlyph.resize(glyph + 1u, 0);
    if (codeOfGlyph[glyph] != 0 || glyph == 0)
        return codeOfGlyph[glyph];
    size_t index = glyphs.size();
    if (index >= OneByteCodes + TwoByteCodes)
        return 0;
    unsigned code = codeOf(index);
    glyphs.push_back(glyph);
    characters.push_back(character);
    codeOfGlyph[glyph] = code;
    return code;
}

namespace {

// The entries of a CMap, at most a hundred to a block as the format asks.
std::string cmapBlocks(const std::vector<std::string>& entries, const char* kind) {
    std::string out;
    for (size_t at = 0; at < entries.size(); at += 100) {
        size_t count = std::min<size_t>(100, entries.size() - at);
        out += std::to_string(count) + " begin" + kind + "\n";
        for (size_t i = at; i < at + count; ++i)
            out += entries[i];
        out += std::string("end") + kind + "\n";
    }
    return out;
}

} // namespace

// A Type 0 font over the face's glyphs, with the codes the pages use for them, their widths
// and the characters they stand for, so that the text can be searched and copied.
void PdfCanvas::writeFont(PdfFontFace& face, const FontUse& use) {
    double unit = 1000.0 / face.unitsPerEm();
    std::set<uint16_t> glyphs(use.glyphs.begin(), use.glyphs.end());
    std::string widths;
    std::vector<std::string> cids, unicodes;
    for (size_t index = 0; index < use.glyphs.size(); ++index) {
        uint16_t glyph = use.glyphs[index];
        std::string code = codeHex(FontUse::codeOf(index));
        cids.push_back(code + " " + std::to_string(glyph) + "\n");
        if (index == 0)
            continue;
        widths += std::to_string(glyph) + " [" +
                  number(face.glyph(use.characters[index]).advance * unit) + "] ";
        unicodes.push_back(code + " <" + utf16Hex(use.characters[index]) + ">\n");
    }
    std::string ranges = "2 begincodespacerange\n<00> <DF>\n<E000> <FFFF>\nendcodespacerange\n";
    std::string cmapName = "Quillan-" + use.name;
    std::string encoding = CMapHead +
                           ("/CIDSystemInfo " + std::string(IdentitySystem) + " def\n/CMapName /" +
                            cmapName + " def\n/CMapType 1 def\n") +
                           ranges + cmapBlocks(cids, "cidchar") + CMapTail;
    std::string toUnicode = CMapHead +
                            std::string("/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) "
                                        "/Supplement 0 >> def\n/CMapName /Adobe-Identity-UCS "
                                        "def\n/CMapType 2 def\n") +
                            ranges + cmapBlocks(unicodes, "bfchar") + CMapTail;

    std::string name = subsetTag(use.object) + face.postScriptName();
    int program = writer_.reserve(), descriptor = writer_.reserve(), cidFont = writer_.reserve(),
        unicode = writer_.reserve(), cmap = writer_.reserve();
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
    writer_.object(cidFont, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont /" + name +
                                " /CIDSystemInfo " + IdentitySystem + " /FontDescriptor " +
                                std::to_string(descriptor) + " 0 R /CIDToGIDMap /Identity /W [" +
                                widths + "] >>");
    writer_.stream(unicode, "", toUnicode);
    writer_.stream(cmap,
                   " /Type /CMap /CMapName /" + cmapName + " /CIDSystemInfo " + IdentitySystem,
                   encoding);
    writer_.object(use.object, "<< /Type /Font /Subtype /Type0 /BaseFont /" + name + " /Encoding " +
                                   std::to_string(cmap) + " 0 R /DescendantFonts [" +
                                   std::to_string(cidFont) + " 0 R] /ToUnicode " +
                                   std::to_string(unicode) + " 0 R >>");
}

void PdfCanvas::setFont(const FontSpec& font) {
    if (font.name != font_.name || font.bold != font_.bold || font.italic != font_.italic)
        face_ = nullptr;
    font_ = font;
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
    forEachCharacter(text, [&](char32_t c) { units += f->glyph(c).advance; });
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
    FontUse& use = useOf(f);
    double size = pixelSize();
    double scale = size / f->unitsPerEm();
    long baseline = y + std::lround(f->ascender() * scale);
    // Texts one after another stay in one text object, which names a font only when it
    // changes.
    if (!inText_) {
        content_ += "BT\n";
        inText_ = true;
        uprightText_ = false;
        textFace_ = nullptr;
    }
    setFill(penColor_);
    if (f != textFace_ || font_.size != textSize_) {
        textFace_ = f;
        textSize_ = font_.size;
        content_ += "/" + use.name + " " + number(size) + " Tf\n";
    }
    if (f->synthesizedBold())
        content_ += "2 Tr " + number(size / 30) + " w " + colorOperands(penColor_) + " RG ";
    moveToLine(x, baseline, f->synthesizedItalic());
    content_ += "(";
    long units = 0;
    forEachCharacter(text, [&](char32_t c) {
        PdfFontFace::Glyph g = f->glyph(c);
        unsigned code = c < use.asciiCodes.size() && use.asciiCodes[c] != 0 ? use.asciiCodes[c]
                                                                            : use.code(g.id, c);
        if (c < use.asciiCodes.size())
            use.asciiCodes[c] = code;
        appendCode(content_, code);
        units += g.advance;
    });
    content_ += ") Tj\n";
    if (f->synthesizedBold()) {
        content_ += "0 Tr\n";
        strokeSet_ = false;
    }
    if (font_.underline) {
        endText();
        long top = baseline + std::lround(f->underlinePosition() * scale);
        long thickness = std::max(1L, std::lround(f->underlineThickness() * scale));
        append(static_cast<long>(x));
        append(top);
        append(std::lround(units * scale));
        append(thickness);
        content_ += "re f\n";
    }
}

// The text matrix turns text upright on the page (and slants a text whose face has no italic);
// upright texts after the first move on from one line's start to the next.
void PdfCanvas::moveToLine(long x, long baseline, bool slanted) {
    if (uprightText_ && !slanted) {
        append(x - lineX_);
        append(lineY_ - baseline);
        content_ += "Td ";
    } else {
        content_ += slanted ? "1 0 0.2 -1 " : "1 0 0 -1 ";
        append(x);
        append(baseline);
        content_ += "Tm ";
    }
    uprightText_ = !slanted;
    lineX_ = x;
    lineY_ = baseline;
}

void PdfCanvas::endText() {
    if (!inText_)
        return;
    content_ += "ET\n";
    inText_ = false;
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
        endText();
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
    endText();
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
    endText();
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
    endText();
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
    endText();
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
    endText();
    int object = writer_.reserve();
    std::string name = "Im" + std::to_string(images_.size() + 1);
    images_.emplace_back(name, object);
    writer_.stream(object,
                   " /Type /XObject /Subtype /Image /Width " + std::to_string(image.width) +
                       " /Height " + std::to_string(image.height) + " /ColorSpace " +
                       image.colorSpace + " /BitsPerComponent " +
                       std::to_string(image.bitsPerComponent) + " /Interpolate false",
                   image.pixels, PdfWriter::Packing::Fast);
    content_ += "q ";
    append(static_cast<long>(width));
    content_ += "0 0 ";
    append(static_cast<long>(-height));
    append(static_cast<long>(left));
    append(static_cast<long>(top + height));
    content_ += "cm /" + name + " Do Q\n";
}

// A picture goes in at its own resolution and depth: a bit, a byte or three bytes a pixel.
void PdfCanvas::stretchImage(const Bitmap& picture, int left, int top, int width, int height) {
    if (!active() || picture.empty())
        return;
    Image image;
    image.width = picture.width();
    image.height = picture.height();
    switch (picture.format()) {
    case Bitmap::Format::Rgb:
        image.colorSpace = "/DeviceRGB";
        break;
    case Bitmap::Format::Mono:
        image.bitsPerComponent = 1;
        image.colorSpace = "[/Indexed /DeviceRGB 1 " + paletteHex(picture.palette(), 2) + "]";
        break;
    case Bitmap::Format::Indexed:
        image.colorSpace = "[/Indexed /DeviceRGB 255 " + paletteHex(picture.palette(), 256) + "]";
        break;
    }
    size_t rowBytes = picture.rowBytes();
    image.pixels.reserve(rowBytes * static_cast<size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y)
        image.pixels.append(reinterpret_cast<const char*>(picture.row(y)), rowBytes);
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
