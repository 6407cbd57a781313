#include "tests/xls/RecordFields.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>

namespace xls::test {

namespace {

struct ShortRecord : std::runtime_error {
    ShortRecord() : std::runtime_error("short") {}
};

// Reads a record body field by field; reading past its end throws ShortRecord.
class Fields {
public:
    Fields(std::string_view body, std::vector<RecordField>& out) : body_(body), out_(out) {}

    bool more() const { return at_ < body_.size(); }
    size_t left() const { return body_.size() - at_; }

    uint32_t raw(size_t bytes) {
        if (left() < bytes)
            throw ShortRecord();
        uint32_t value = 0;
        for (size_t i = 0; i < bytes; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(body_[at_ + i])) << (8 * i);
        at_ += bytes;
        return value;
    }
    uint32_t u8(const std::string& name) { return put(name, raw(1)); }
    uint32_t u16(const std::string& name) { return put(name, raw(2)); }
    uint32_t u32(const std::string& name) { return put(name, raw(4)); }
    void f64(const std::string& name) {
        if (left() < 8)
            throw ShortRecord();
        double value;
        std::memcpy(&value, body_.data() + at_, 8);
        at_ += 8;
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", value);
        out_.push_back({name, text});
    }
    // Single bits and groups of bits of a value already read.
    void bit(const std::string& name, uint32_t value, uint32_t mask) {
        out_.push_back({name, (value & mask) ? "yes" : "no"});
    }
    void bits(const std::string& name, uint32_t value, uint32_t mask) {
        int shift = 0;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        out_.push_back({name, std::to_string((value & mask) >> shift)});
    }
    std::string bytes(size_t count) {
        if (left() < count)
            throw ShortRecord();
        std::string_view taken = body_.substr(at_, count);
        at_ += count;
        return std::string(taken);
    }
    // A BIFF8 string of count characters: option byte, then 8-bit or UTF-16LE characters.
    void text8(const std::string& name, size_t count) {
        uint8_t option = static_cast<uint8_t>(raw(1));
        bool wide = option & 0x01;
        std::string chars = bytes(wide ? 2 * count : count);
        out_.push_back({name, characters(chars, wide)});
        out_.push_back({name + " encoding", wide ? "UTF-16" : "8-bit"});
        if (option & ~0x01)
            out_.push_back({name + " option", std::to_string(option)});
    }
    // An 8-bit string of count bytes (before BIFF8), as its bytes.
    void plain(const std::string& name, size_t count) {
        out_.push_back({name, escaped(bytes(count))});
    }
    void rest(const std::string& name) {
        if (more())
            out_.push_back({name, hex(bytes(left()))});
    }
    void add(const std::string& name, const std::string& value) { out_.push_back({name, value}); }

    static std::string hex(std::string_view bytes) {
        static const char* digits = "0123456789abcdef";
        std::string text;
        for (char c : bytes) {
            text += digits[static_cast<uint8_t>(c) >> 4];
            text += digits[static_cast<uint8_t>(c) & 0x0F];
        }
        return text;
    }

private:
    uint32_t put(const std::string& name, uint32_t value) {
        out_.push_back({name, std::to_string(value)});
        return value;
    }
    // UTF-16 code units as UTF-8 (a lone surrogate as its number), 8-bit ones as Latin-1.
    static std::string characters(const std::string& chars, bool wide) {
        std::string text;
        size_t step = wide ? 2 : 1;
        for (size_t i = 0; i + step <= chars.size(); i += step) {
            uint32_t c = static_cast<uint8_t>(chars[i]);
            if (wide)
                c |= static_cast<uint32_t>(static_cast<uint8_t>(chars[i + 1])) << 8;
            if (c >= 0xD800 && c < 0xE000) {
                text += "\\u" + std::to_string(c);
            } else if (c < 0x80) {
                text += static_cast<char>(c);
            } else if (c < 0x800) {
                text += static_cast<char>(0xC0 | (c >> 6));
                text += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                text += static_cast<char>(0xE0 | (c >> 12));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return text;
    }
    static std::string escaped(const std::string& bytes) {
        std::string text;
        for (char c : bytes) {
            uint8_t b = static_cast<uint8_t>(c);
            if (b >= 0x20 && b < 0x7F && b != '\\') {
                text += c;
            } else {
                char code[8];
                std::snprintf(code, sizeof code, "\\x%02x", b);
                text += code;
            }
        }
        return text;
    }

    std::string_view body_;
    std::vector<RecordField>& out_;
    size_t at_ = 0;
};

using Decoder = std::function<void(Fields&, int biff)>;

void oneWord(Fields& f, int) {
    f.u16("value");
    f.rest("trailing bytes");
}

void words(Fields& f, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (!f.more())
            return;
        f.u16(name);
    }
    f.rest("trailing bytes");
}

void bof(Fields& f, int biff) {
    f.u16("version");
    f.u16("substream type");
    if (biff < 5)
        return f.rest("trailing bytes");
    f.u16("build");
    f.u16("year");
    if (biff == 8) {
        f.u32("history flags");
        f.u32("lowest version");
    }
    f.rest("trailing bytes");
}

void writeAccess(Fields& f, int biff) {
    // The name, and the blanks the record is padded with.
    if (biff == 8) {
        size_t count = f.raw(2);
        f.text8("user name", count);
    } else {
        f.plain("user name", f.raw(1));
    }
    std::string padding = f.more() ? f.bytes(f.left()) : std::string();
    f.add("padding", Fields::hex(padding));
}

void codeName(Fields& f, int biff) {
    size_t count = f.raw(2);
    if (biff == 8)
        f.text8("name", count);
    else
        f.rest("name bytes");
    f.rest("trailing bytes");
}

void window1(Fields& f, int) {
    words(f, {"left", "top", "width", "height", "options", "selected tab", "first visible tab",
              "selected tab count", "tab bar width"});
}

void font(Fields& f, int biff) {
    f.u16("height (twips)");
    f.u16("options");
    f.u16("colour index");
    if (biff <= 4) {
        f.plain("name", f.raw(1));
        return f.rest("trailing bytes");
    }
    f.u16("weight");
    f.u16("escapement");
    f.u8("underline");
    f.u8("family");
    f.u8("character set");
    f.u8("reserved");
    size_t count = f.raw(1);
    if (biff == 8)
        f.text8("name", count);
    else
        f.plain("name", count);
    f.rest("trailing bytes");
}

void format(Fields& f, int biff) {
    if (biff == 8) {
        f.u16("index");
        f.text8("text", f.raw(2));
    } else if (biff >= 4) {
        f.u16(biff == 5 ? "index" : "unused");
        f.plain("text", f.raw(1));
    } else {
        f.plain("text", f.raw(1));
    }
    f.rest("trailing bytes");
}

void xf(Fields& f, int biff) {
    if (biff == 8) {
        f.u16("font");
        f.u16("number format");
        f.u16("type and protection");
        f.u16("alignment and rotation");
        f.u16("indent and used attributes");
        f.u32("borders 1");
        f.u32("borders 2");
        f.u16("colours");
    } else if (biff == 5) {
        words(f, {"font", "number format", "type and protection", "alignment", "colours",
                  "fill and bottom border", "top, left and right border", "border colours"});
    } else {
        for (const char* name : {"font", "number format", "type and protection", "type word",
                                 "alignment", "used attributes", "pattern", "pattern word",
                                 "top border", "left border", "bottom border", "right border"})
            f.u8(name);
    }
    f.rest("trailing bytes");
}

void style(Fields& f, int biff) {
    uint32_t xf = f.u16("format and built-in flag");
    if (xf & 0x8000) {
        f.u8("built-in style");
        f.u8("level");
    } else if (biff == 8) {
        f.text8("name", f.raw(2));
    } else {
        f.plain("name", f.raw(1));
    }
    f.rest("trailing bytes");
}

void palette(Fields& f, int) {
    size_t count = f.u16("colour count");
    f.add("colours", Fields::hex(f.bytes(4 * count)));
    f.rest("trailing bytes");
}

void boundSheet(Fields& f, int biff) {
    f.raw(4); // the substream's position, which the writer places anew
    f.u8("visibility");
    f.u8("sheet kind");
    size_t count = f.raw(1);
    if (biff == 8)
        f.text8("name", count);
    else
        f.plain("name", count);
    f.rest("trailing bytes");
}

void supBook(Fields& f, int) {
    size_t sheets = f.u16("sheet count");
    uint32_t marker = f.raw(2);
    if (marker == 0x0401 || marker == 0x3A01) {
        f.add("kind", marker == 0x0401 ? "own workbook" : "add-in functions");
        return f.rest("trailing bytes");
    }
    f.text8("file name", marker);
    for (size_t i = 0; i < sheets; ++i)
        f.text8("sheet name " + std::to_string(i + 1), f.raw(2));
    f.rest("trailing bytes");
}

void externName(Fields& f, int biff) {
    f.u16("options");
    if (biff == 8) {
        f.u16("sheet");
        f.u16("reserved");
        f.text8("name", f.raw(1));
    } else {
        f.u32("reserved");
        f.plain("name", f.raw(1));
    }
    f.rest("definition");
}

void externSheet(Fields& f, int biff) {
    if (biff != 8)
        return f.rest("body");
    size_t count = f.u16("count");
    for (size_t i = 0; i < count; ++i) {
        std::string entry = "entry " + std::to_string(i + 1);
        f.u16(entry + " supporting book");
        f.u16(entry + " first sheet");
        f.u16(entry + " last sheet");
    }
    f.rest("trailing bytes");
}

void name(Fields& f, int biff) {
    f.u16("options");
    f.u8("shortcut");
    size_t count = f.u8("name length");
    size_t tokens = f.u16("formula size");
    f.u16("sheet or extern index");
    f.u16("sheet");
    for (const char* text :
         {"menu text length", "description length", "help text length", "status text length"})
        f.u8(text);
    if (biff == 8)
        f.text8("name", count);
    else
        f.plain("name", count);
    f.add("formula", Fields::hex(f.bytes(tokens)));
    f.rest("after the formula");
}

void delta(Fields& f, int) {
    f.f64("value");
    f.rest("trailing bytes");
}

void pageBreaks(Fields& f, int biff) {
    size_t count = f.u16("count");
    for (size_t i = 0; i < count; ++i) {
        std::string entry = "break " + std::to_string(i + 1);
        f.u16(entry);
        if (biff == 8) {
            f.u16(entry + " from");
            f.u16(entry + " to");
        }
    }
    f.rest("trailing bytes");
}

void headerFooter(Fields& f, int biff) {
    if (!f.more())
        return f.add("text", "(none)");
    if (biff == 8)
        f.text8("text", f.raw(2));
    else
        f.plain("text", f.raw(1));
    f.rest("trailing bytes");
}

void setup(Fields& f, int) {
    f.u16("paper size");
    f.u16("scale");
    f.u16("first page number");
    f.u16("fit to pages wide");
    f.u16("fit to pages tall");
    uint32_t options = f.raw(2);
    f.bit("left to right", options, 0x0001);
    f.bit("portrait", options, 0x0002);
    f.bit("printer settings not set", options, 0x0004);
    f.bit("no colour", options, 0x0008);
    f.bit("draft", options, 0x0010);
    f.bit("notes", options, 0x0020);
    f.bit("no orientation", options, 0x0040);
    f.bit("own first page number", options, 0x0080);
    f.bit("notes at end", options, 0x0200);
    f.bits("cell errors as", options, 0x0C00);
    f.add("other option bits", std::to_string(options & 0xF100));
    if (!f.more())
        return;
    f.u16("resolution");
    f.u16("vertical resolution");
    f.f64("header margin");
    f.f64("footer margin");
    f.u16("copies");
    f.rest("trailing bytes");
}

void colInfo(Fields& f, int) {
    f.u16("first column");
    f.u16("last column");
    f.u16("width");
    f.u16("format");
    uint32_t options = f.raw(2);
    f.bit("hidden", options, 0x0001);
    f.bit("width set by the user", options, 0x0002);
    f.bit("best fit", options, 0x0004);
    f.bit("phonetic", options, 0x0008);
    f.bits("outline level", options, 0x0700);
    f.bit("collapsed", options, 0x1000);
    f.add("other option bits", std::to_string(options & 0xE8F0));
    // Some writers leave out the last byte of the last word.
    if (f.more())
        f.add("reserved", std::to_string(f.raw(f.left() < 2 ? f.left() : 2)));
    f.rest("trailing bytes");
}

void defaultRowHeight(Fields& f, int biff) {
    if (biff <= 2)
        return words(f, {"height"});
    words(f, {"options", "height"});
}

void wsBool(Fields& f, int) {
    uint32_t value = f.raw(2);
    f.bit("automatic page breaks shown", value, 0x0001);
    f.bit("dialog sheet", value, 0x0010);
    f.bit("outline styles applied", value, 0x0020);
    f.bit("summary rows below detail", value, 0x0040);
    f.bit("summary columns right of detail", value, 0x0080);
    f.bit("fit to page", value, 0x0100);
    f.bit("row outline symbols shown", value, 0x0200);
    f.bit("column outline symbols shown", value, 0x0400);
    f.bit("synchronised horizontally", value, 0x1000);
    f.bit("synchronised vertically", value, 0x2000);
    f.bit("alternative expression evaluation", value, 0x4000);
    f.bit("alternative formula entry", value, 0x8000);
    f.add("other bits", std::to_string(value & 0x080E));
    f.rest("trailing bytes");
}

void dimensions(Fields& f, int biff) {
    if (biff == 8) {
        f.u32("first row");
        f.u32("row after the last");
    } else {
        f.u16("first row");
        f.u16("row after the last");
    }
    words(f, {"first column", "column after the last", "reserved"});
}

void row(Fields& f, int) {
    words(f, {"row", "first column", "column after the last", "height", "reserved 1", "reserved 2",
              "options", "format and more options"});
}

void window2(Fields& f, int biff) {
    uint32_t options = f.raw(2);
    const char* names[] = {"formulas shown", "gridlines shown", "headings shown",
                           "panes frozen",   "zeros shown",     "default grid colour",
                           "right to left",  "outline symbols", "frozen without split",
                           "selected",       "shown in window", "page break preview"};
    for (int i = 0; i < 12; ++i)
        f.bit(names[i], options, 1u << i);
    f.add("other option bits", std::to_string(options & 0xF000));
    f.u16("top row shown");
    f.u16("left column shown");
    if (biff == 8) {
        f.u16("grid colour");
        if (!f.more())
            return;
        f.u16("reserved 1");
        f.u16("page break preview zoom");
        f.u16("normal zoom");
        f.rest("reserved 2");
    } else {
        f.u32("grid colour");
        f.rest("trailing bytes");
    }
}

void scl(Fields& f, int) {
    uint32_t numerator = f.raw(2);
    uint32_t denominator = f.raw(2);
    // The zoom is the ratio: 3/4 and 75/100 say the same.
    f.add("zoom",
          denominator == 0 ? "none" : std::to_string(numerator * 1000 / denominator / 10.0));
    f.rest("trailing bytes");
}

void margin(Fields& f, int) {
    f.f64("inches");
    f.rest("trailing bytes");
}

void dval(Fields& f, int) {
    uint32_t options = f.raw(2);
    f.bit("window closed", options, 0x0001);
    f.bit("window pinned", options, 0x0002);
    f.bit("cached", options, 0x0004);
    f.add("other option bits", std::to_string(options & 0xFFF8));
    f.u32("window left");
    f.u32("window top");
    f.u32("drop-down object");
    f.u32("validation count");
    f.rest("trailing bytes");
}

void dv(Fields& f, int) {
    uint32_t options = f.raw(4);
    f.bits("type", options, 0x0000000F);
    f.bits("error style", options, 0x00000070);
    f.bit("explicit list", options, 0x00000080);
    f.bit("blank allowed", options, 0x00000100);
    f.bit("no drop-down", options, 0x00000200);
    f.bits("input method mode", options, 0x0003FC00);
    f.bit("input message shown", options, 0x00040000);
    f.bit("error alert shown", options, 0x00080000);
    f.bits("operator", options, 0x00F00000);
    f.add("other option bits", std::to_string(options & 0xFF000000));
    for (const char* text : {"input title", "error title", "input message", "error message"})
        f.text8(text, f.raw(2));
    for (const char* formula : {"condition 1", "condition 2"}) {
        size_t size = f.raw(2);
        f.u16(std::string(formula) + " unused word");
        f.add(formula, Fields::hex(f.bytes(size)));
    }
    size_t areas = f.u16("area count");
    f.add("areas", Fields::hex(f.bytes(8 * areas)));
    f.rest("trailing bytes");
}

void rawBody(Fields& f, int) {
    f.rest("body");
}

void country(Fields& f, int) {
    words(f, {"application country", "system country"});
}

void guts(Fields& f, int) {
    words(f, {"row gutter", "column gutter", "row outline levels", "column outline levels"});
}

void mergedCells(Fields& f, int) {
    size_t count = f.u16("count");
    f.add("ranges", Fields::hex(f.bytes(8 * count)));
    f.rest("trailing bytes");
}

struct MadeRecord {
    uint16_t id;
    const char* name;
    Decoder decode;
};

const std::vector<MadeRecord>& madeRecords() {
    static const std::vector<MadeRecord> records = {
        {0x0809, "BOF", bof},
        {0x0409, "BOF", bof},
        {0x005C, "WRITEACCESS", writeAccess},
        {0x0042, "CODEPAGE", oneWord},
        {0x01BA, "CODENAME", codeName},
        {0x0019, "WINDOWPROTECT", oneWord},
        {0x003D, "WINDOW1", window1},
        {0x0040, "BACKUP", oneWord},
        {0x008D, "HIDEOBJ", oneWord},
        {0x0022, "DATEMODE", oneWord},
        {0x000E, "PRECISION", oneWord},
        {0x01B7, "REFRESHALL", oneWord},
        {0x00DA, "BOOKBOOL", oneWord},
        {0x01AF, "PROT4REV", oneWord},
        {0x0031, "FONT", font},
        {0x0231, "FONT", font},
        {0x041E, "FORMAT", format},
        {0x00E0, "XF", xf},
        {0x0443, "XF", xf},
        {0x0293, "STYLE", style},
        {0x0092, "PALETTE", palette},
        {0x0085, "BOUNDSHEET", boundSheet},
        {0x008C, "COUNTRY", country},
        {0x01AE, "SUPBOOK", supBook},
        {0x0023, "EXTERNNAME", externName},
        {0x0016, "EXTERNCOUNT", oneWord},
        {0x0017, "EXTERNSHEET", externSheet},
        {0x0018, "NAME", name},
        {0x000D, "CALCMODE", oneWord},
        {0x000C, "CALCCOUNT", oneWord},
        {0x000F, "REFMODE", oneWord},
        {0x0011, "ITERATION", oneWord},
        {0x0010, "DELTA", delta},
        {0x005F, "SAVERECALC", oneWord},
        {0x002A, "PRINTHEADERS", oneWord},
        {0x002B, "PRINTGRIDLINES", oneWord},
        {0x0082, "GRIDSET", oneWord},
        {0x0080, "GUTS", guts},
        {0x0225, "DEFAULTROWHEIGHT", defaultRowHeight},
        {0x0081, "WSBOOL", wsBool},
        {0x001B, "HORIZONTALPAGEBREAKS", pageBreaks},
        {0x001A, "VERTICALPAGEBREAKS", pageBreaks},
        {0x0014, "HEADER", headerFooter},
        {0x0015, "FOOTER", headerFooter},
        {0x0083, "HCENTER", oneWord},
        {0x0084, "VCENTER", oneWord},
        {0x0026, "LEFTMARGIN", margin},
        {0x0027, "RIGHTMARGIN", margin},
        {0x0028, "TOPMARGIN", margin},
        {0x0029, "BOTTOMMARGIN", margin},
        {0x00A1, "SETUP", setup},
        {0x0012, "PROTECT", oneWord},
        {0x0055, "DEFCOLWIDTH", oneWord},
        {0x007D, "COLINFO", colInfo},
        {0x0200, "DIMENSIONS", dimensions},
        {0x0208, "ROW", row},
        {0x023E, "WINDOW2", window2},
        {0x00A0, "SCL", scl},
        {0x01B2, "DVAL", dval},
        {0x01BE, "DV", dv},
        {0x01B8, "HLINK", rawBody},
        {0x00E5, "MERGEDCELLS", mergedCells},
        {0x001C, "NOTE", rawBody},
    };
    return records;
}

bool isBof(uint16_t id) {
    return id == 0x0009 || id == 0x0209 || id == 0x0409 || id == 0x0809;
}

} // namespace

int biffVersionOf(std::string_view stream) {
    if (stream.size() < 6)
        return 0;
    uint16_t id = static_cast<uint16_t>(static_cast<uint8_t>(stream[0]) |
                                        (static_cast<uint8_t>(stream[1]) << 8));
    uint16_t version = static_cast<uint16_t>(static_cast<uint8_t>(stream[4]) |
                                             (static_cast<uint8_t>(stream[5]) << 8));
    switch (id) {
    case 0x0009:
        return 2;
    case 0x0209:
        return 3;
    case 0x0409:
        return 4;
    case 0x0809:
        return version == 0x0600 ? 8 : 5;
    default:
        return 0;
    }
}

std::optional<DecodedRecord> decodeMadeRecord(uint16_t id, std::string_view body, int biff) {
    for (const MadeRecord& made : madeRecords()) {
        if (made.id != id)
            continue;
        DecodedRecord decoded{made.name, {}};
        Fields fields(body, decoded.fields);
        try {
            made.decode(fields, biff);
        } catch (const ShortRecord&) {
            decoded.fields.push_back({"malformed", Fields::hex(body)});
        }
        return decoded;
    }
    return std::nullopt;
}

std::vector<SubstreamRecords> madeRecordsOf(std::string_view stream) {
    int biff = biffVersionOf(stream);
    std::vector<SubstreamRecords> substreams;
    int depth = 0;
    size_t at = 0;
    auto word = [&](size_t offset) {
        return static_cast<uint16_t>(static_cast<uint8_t>(stream[offset]) |
                                     (static_cast<uint8_t>(stream[offset + 1]) << 8));
    };
    while (at + 4 <= stream.size()) {
        uint16_t id = word(at);
        size_t length = word(at + 2);
        std::string body(stream.substr(at + 4, length));
        at += 4 + length;
        // A long record goes on in CONTINUE records.
        while (at + 4 <= stream.size() && word(at) == 0x003C) {
            body += stream.substr(at + 4, word(at + 2));
            at += 4 + word(at + 2);
        }
        if (isBof(id) && depth++ == 0) {
            uint16_t type = body.size() >= 4
                                ? static_cast<uint16_t>(static_cast<uint8_t>(body[2]) |
                                                        (static_cast<uint8_t>(body[3]) << 8))
                                : 0;
            substreams.push_back({type, {}});
        }
        if (depth == 0)
            continue;
        if (depth == 1)
            if (std::optional<DecodedRecord> decoded = decodeMadeRecord(id, body, biff))
                substreams.back().records.emplace_back(id, std::move(*decoded));
        if (id == 0x000A)
            --depth;
    }
    return substreams;
}

} // namespace xls::test
