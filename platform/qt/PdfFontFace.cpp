#include "platform/qt/PdfFontFace.h"

#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QString>
#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

// Big-endian fields of the font's tables; a read past the end gives 0.
uint16_t u16(const QByteArray& table, qsizetype at) {
    if (at < 0 || at + 2 > table.size())
        return 0;
    auto b = reinterpret_cast<const unsigned char*>(table.constData()) + at;
    return static_cast<uint16_t>(b[0] << 8 | b[1]);
}

int16_t i16(const QByteArray& table, qsizetype at) {
    return static_cast<int16_t>(u16(table, at));
}

uint32_t u32(const QByteArray& table, qsizetype at) {
    return static_cast<uint32_t>(u16(table, at)) << 16 | u16(table, at + 2);
}

void put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value >> 8 & 0xFF);
    out += static_cast<char>(value & 0xFF);
}

void put32(std::string& out, uint32_t value) {
    put16(out, value >> 16);
    put16(out, value & 0xFFFF);
}

void set32(std::string& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<size_t>(i)] = static_cast<char>(value >> (24 - 8 * i) & 0xFF);
}

uint32_t checksum(std::string_view data) {
    uint32_t sum = 0;
    for (size_t i = 0; i < data.size(); i += 4) {
        uint32_t word = 0;
        for (size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < data.size() ? static_cast<unsigned char>(data[i + k]) : 0);
        sum += word;
    }
    return sum;
}

// The PostScript name from the name table (name 6), in the Windows or the Mac encoding.
std::string postScriptNameOf(const QByteArray& name) {
    uint16_t count = u16(name, 2);
    qsizetype strings = u16(name, 4);
    for (uint16_t i = 0; i < count; ++i) {
        qsizetype record = 6 + 12 * static_cast<qsizetype>(i);
        uint16_t platformId = u16(name, record), nameId = u16(name, record + 6);
        qsizetype length = u16(name, record + 8), offset = u16(name, record + 10);
        if (nameId != 6 || strings + offset + length > name.size())
            continue;
        std::string text;
        bool wide = platformId == 3 || platformId == 0;
        for (qsizetype k = 0; k < length; k += wide ? 2 : 1) {
            unsigned c = wide ? u16(name, strings + offset + k)
                              : static_cast<unsigned char>(name[strings + offset + k]);
            if (c > 32 && c < 127 && c != '(' && c != ')' && c != '/' && c != '[' && c != ']' &&
                c != '<' && c != '>' && c != '{' && c != '}' && c != '%')
                text += static_cast<char>(c);
        }
        if (!text.empty())
            return text;
    }
    return {};
}

std::string withoutBlanks(const QString& text) {
    std::string out;
    for (QChar c : text)
        if (c.unicode() > 32 && c.unicode() < 127 && c != QChar('(') && c != QChar(')'))
            out += static_cast<char>(c.unicode());
    return out;
}

} // namespace

struct PdfFontFace::Tables {
    QRawFont raw;
    QByteArray head, hhea, hmtx, maxp, loca, glyf;
    int glyphCount = 0;
    int horizontalMetrics = 0;
    bool longOffsets = false;

    // Where a glyph's outline lies in glyf: [begin, end).
    std::pair<qsizetype, qsizetype> outline(uint16_t glyph) const {
        if (glyph >= glyphCount)
            return {0, 0};
        qsizetype begin = longOffsets ? u32(loca, 4 * glyph) : 2 * qsizetype{u16(loca, 2 * glyph)};
        qsizetype end =
            longOffsets ? u32(loca, 4 * (glyph + 1)) : 2 * qsizetype{u16(loca, 2 * (glyph + 1))};
        end = std::min(end, glyf.size());
        return {begin, std::max(begin, end)};
    }
};

std::unique_ptr<PdfFontFace> PdfFontFace::load(const std::string& family, bool bold, bool italic) {
    for (const std::string& name : {family, std::string("Liberation Sans")}) {
        QFont font(QString::fromStdString(name));
        font.setBold(bold);
        font.setItalic(italic);
        std::unique_ptr<PdfFontFace> face(new PdfFontFace);
        face->tables_ = std::make_shared<Tables>();
        face->tables_->raw = QRawFont::fromFont(font);
        if (!face->tables_->raw.isValid() || !face->readTables())
            continue;
        const QRawFont& raw = face->tables_->raw;
        face->synthesizedBold_ = bold && raw.weight() < QFont::DemiBold;
        face->synthesizedItalic_ = italic && raw.style() == QFont::StyleNormal;
        if (face->synthesizedItalic_)
            face->italicAngle_ = -12;
        if (face->postScriptName_.empty())
            face->postScriptName_ = withoutBlanks(raw.familyName() + "-" + raw.styleName());
        return face;
    }
    return nullptr;
}

// Only faces with TrueType outlines are taken: they embed as they are.
bool PdfFontFace::readTables() {
    Tables& t = *tables_;
    t.head = t.raw.fontTable("head");
    t.hhea = t.raw.fontTable("hhea");
    t.hmtx = t.raw.fontTable("hmtx");
    t.maxp = t.raw.fontTable("maxp");
    t.loca = t.raw.fontTable("loca");
    t.glyf = t.raw.fontTable("glyf");
    if (t.head.size() < 54 || t.hhea.size() < 36 || t.maxp.size() < 6 || t.glyf.isEmpty() ||
        t.loca.isEmpty() || t.hmtx.isEmpty())
        return false;
    unitsPerEm_ = std::max<int>(16, u16(t.head, 18));
    box_ = {i16(t.head, 36), i16(t.head, 38), i16(t.head, 40), i16(t.head, 42)};
    t.longOffsets = i16(t.head, 50) == 1;
    ascender_ = i16(t.hhea, 4);
    descender_ = -i16(t.hhea, 6);
    t.horizontalMetrics = u16(t.hhea, 34);
    t.glyphCount = u16(t.maxp, 4);
    if (t.horizontalMetrics == 0 || t.glyphCount == 0)
        return false;
    QByteArray post = t.raw.fontTable("post");
    italicAngle_ = static_cast<int32_t>(u32(post, 4)) / 65536.0;
    underlinePosition_ = -i16(post, 8);
    underlineThickness_ = i16(post, 10);
    if (underlineThickness_ <= 0) {
        underlinePosition_ = unitsPerEm_ / 10;
        underlineThickness_ = unitsPerEm_ / 20;
    }
    QByteArray os2 = t.raw.fontTable("OS/2");
    capHeight_ = u16(os2, 0) >= 2 ? i16(os2, 88) : ascender_;
    postScriptName_ = postScriptNameOf(t.raw.fontTable("name"));
    return true;
}

int PdfFontFace::advanceOf(uint16_t glyph) const {
    const Tables& t = *tables_;
    int metric = std::min<int>(glyph, t.horizontalMetrics - 1);
    return u16(t.hmtx, 4 * metric);
}

PdfFontFace::Glyph PdfFontFace::glyph(char32_t character) {
    if (character < 256 && latinKnown_[character])
        return latin_[character];
    if (character >= 256) {
        auto known = others_.find(character);
        if (known != others_.end())
            return known->second;
    }
    QString text = QString::fromUcs4(&character, 1);
    quint32 indexes[2] = {0, 0};
    int count = 2;
    tables_->raw.glyphIndexesForChars(text.constData(), static_cast<int>(text.size()), indexes,
                                      &count);
    Glyph g{static_cast<uint16_t>(count > 0 && indexes[0] < 65536 ? indexes[0] : 0), 0};
    g.advance = advanceOf(g.id);
    if (character < 256) {
        latin_[character] = g;
        latinKnown_[character] = true;
    } else {
        others_[character] = g;
    }
    return g;
}

std::string PdfFontFace::subsetProgram(const std::set<uint16_t>& glyphs) const {
    const Tables& t = *tables_;
    // Composite glyphs are drawn from others, which come along.
    std::set<uint16_t> kept(glyphs);
    kept.insert(0);
    std::vector<uint16_t> pending(kept.begin(), kept.end());
    while (!pending.empty()) {
        uint16_t glyph = pending.back();
        pending.pop_back();
        auto [begin, end] = t.outline(glyph);
        if (end - begin < 10 || i16(t.glyf, begin) >= 0)
            continue;
        qsizetype at = begin + 10;
        for (uint16_t flags = 0x20; (flags & 0x20) && at + 4 <= end;) {
            flags = u16(t.glyf, at);
            uint16_t part = u16(t.glyf, at + 2);
            if (kept.insert(part).second)
                pending.push_back(part);
            at += 4 + ((flags & 1) ? 4 : 2);
            at += (flags & 8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0;
        }
    }
    std::string glyf, loca;
    for (int glyph = 0; glyph < t.glyphCount; ++glyph) {
        put32(loca, static_cast<uint32_t>(glyf.size()));
        if (!kept.count(static_cast<uint16_t>(glyph)))
            continue;
        auto [begin, end] = t.outline(static_cast<uint16_t>(glyph));
        glyf.append(t.glyf.constData() + begin, static_cast<size_t>(end - begin));
        glyf.resize((glyf.size() + 3) & ~size_t{3}, '\0');
    }
    put32(loca, static_cast<uint32_t>(glyf.size()));
    std::string head(t.head.constData(), static_cast<size_t>(t.head.size()));
    set32(head, 8, 0);
    head[50] = 0;
    head[51] = 1; // long loca offsets

    std::map<std::string, std::string> tables = {
        {"glyf", glyf},
        {"head", head},
        {"hhea", std::string(t.hhea.constData(), static_cast<size_t>(t.hhea.size()))},
        {"hmtx", std::string(t.hmtx.constData(), static_cast<size_t>(t.hmtx.size()))},
        {"loca", loca},
        {"maxp", std::string(t.maxp.constData(), static_cast<size_t>(t.maxp.size()))},
    };
    for (const char* hinting : {"cvt ", "fpgm", "prep"}) {
        QByteArray table = t.raw.fontTable(hinting);
        if (!table.isEmpty())
            tables[hinting] = std::string(table.constData(), static_cast<size_t>(table.size()));
    }

    uint16_t count = static_cast<uint16_t>(tables.size());
    uint16_t power = 1, log2 = 0;
    while (power * 2 <= count) {
        power = static_cast<uint16_t>(power * 2);
        ++log2;
    }
    std::string font;
    put32(font, 0x00010000);
    put16(font, count);
    put16(font, power * 16u);
    put16(font, log2);
    put16(font, count * 16u - power * 16u);
    size_t offset = 12 + 16 * size_t{count};
    size_t headOffset = 0;
    std::string body;
    for (const auto& [tag, data] : tables) { // a std::map keeps the tags in order
        font += tag;
        put32(font, checksum(data));
        put32(font, static_cast<uint32_t>(offset + body.size()));
        put32(font, static_cast<uint32_t>(data.size()));
        if (tag == "head")
            headOffset = offset + body.size();
        body += data;
        body.resize((body.size() + 3) & ~size_t{3}, '\0');
    }
    font += body;
    set32(font, headOffset + 8, 0xB1B0AFBAu - checksum(font));
    return font;
}

} // namespace platform
