#pragma once

#include "platform/graphics/Canvas.h"
#include "platform/print/PdfWriter.h"
#include "platform/qt/PdfFontFace.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace platform {

// The sheet a PDF document is printed on and the part of it a printer can print: device
// pixels of `dpi` per inch, the origin at the printable area's top-left corner.
struct PdfSheet {
    double widthPoints = 612; // US Letter
    double heightPoints = 792;
    double marginPoints = 18; // unprintable on each side, as on an office laser printer
    int dpi = 600;

    int printableWidth() const;
    int printableHeight() const;
    int margin() const;
};

// A canvas that writes what is drawn on it into a PDF document, page by page: texts in
// embedded TrueType fonts (the glyphs used, one program per face and document), lines,
// rectangles and polygons as vector paths, pictures as lossless images at their own
// resolution. Texts are measured from the same font data they are drawn with.
class PdfCanvas : public Canvas {
public:
    explicit PdfCanvas(PdfSheet sheet = {});
    ~PdfCanvas() override;

    const PdfSheet& sheet() const { return sheet_; }

    // Starts a document (its first page begun).
    void begin(const std::string& title);
    bool active() const { return writer_.started(); }
    void newPage();
    // Ends the document; its file's bytes are then bytes(), for the caller to store.
    void end();
    const std::string& bytes() const { return writer_.bytes(); }
    // Forgets the document, ended or not.
    void abort();

    void setFont(const FontSpec& font) override;
    void setPen(Color color, int width, PenStyle style) override;
    void setBrush(Color color, BrushStyle style) override;
    void textOut(int x, int y, std::string_view text) override;
    int textWidth(std::string_view text) override;
    int textHeight(std::string_view text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    Point penPosition() const override { return position_; }
    void rectangle(int left, int top, int right, int bottom) override;
    void fillRect(int left, int top, int right, int bottom) override;
    void roundRect(int left, int top, int right, int bottom, int cornerWidth,
                   int cornerHeight) override;
    void polygon(const std::vector<Point>& points) override;
    bool stretchBitmap(const std::string& bmpPath, int left, int top, int width,
                       int height) override;
    void stretchImage(const Bitmap& image, int left, int top, int width, int height) override;

private:
    // A face's use in the current document: its resource name, its object and the
    // characters each glyph drawn stands for.
    // A face's use in the current document. Its glyphs get codes in the order they are first
    // drawn, one byte for the first 224 and two (from E000 on) for the others, so that the
    // pages of a document in a Latin script spend a byte on each character.
    struct FontUse {
        static constexpr unsigned OneByteCodes = 0xE0;
        static constexpr unsigned TwoByteCodes = 0x2000;
        std::string name;
        int object = 0;
        std::vector<uint16_t> glyphs{0}; // by code; code 0 is the missing glyph
        std::vector<char32_t> characters{0};
        std::vector<uint32_t> codeOfGlyph;      // by glyph number, 0 for none yet
        std::array<uint32_t, 128> asciiCodes{}; // the codes of the ASCII characters drawn

        // The glyph's code, given one when it is first drawn (0 when the codes run out).
        unsigned code(uint16_t glyph, char32_t character);
        static unsigned codeOf(size_t index) {
            return index < OneByteCodes ? static_cast<unsigned>(index)
                                        : 0xE000 + static_cast<unsigned>(index - OneByteCodes);
        }
    };
    struct Image {
        int width = 0, height = 0;
        int bitsPerComponent = 8;
        std::string colorSpace;
        std::string pixels;
    };

    PdfFontFace* face();
    FontUse& useOf(PdfFontFace* face);
    double pixelSize() const;
    void startPage();
    void finishPage();
    void writeFonts();
    void writeFont(PdfFontFace& face, const FontUse& use);
    void writeResources();
    void drawImage(const Image& image, int left, int top, int width, int height);
    void moveToLine(long x, long baseline, bool slanted);
    void endText();
    void setStroke();
    void setFill(Color color);
    void paintPath(bool fill, bool stroke);
    void append(long value);
    void append(double value);

    PdfSheet sheet_;
    PdfWriter writer_;
    int catalog_ = 0, pagesObject_ = 0, resources_ = 0, info_ = 0;
    std::string title_;
    std::vector<int> pages_;
    std::string content_;
    std::vector<std::pair<PdfFontFace*, FontUse>> fontsUsed_;
    std::vector<std::pair<std::string, int>> images_;

    std::vector<std::unique_ptr<PdfFontFace>> faces_;
    std::map<std::tuple<std::string, bool, bool>, PdfFontFace*> faceOf_;
    FontSpec font_;
    PdfFontFace* face_ = nullptr;
    Color penColor_ = {0, 0, 0};
    int penWidth_ = 1;
    PenStyle penStyle_ = PenStyle::Solid;
    Color brushColor_ = {255, 255, 255};
    BrushStyle brushStyle_ = BrushStyle::Solid;
    Point position_;
    // What the page's content last set, so that it is not repeated.
    bool strokeSet_ = false;
    bool fillSet_ = false;
    Color fill_;
    // An open text object, the face and size it last named and where its last line began.
    bool inText_ = false;
    bool uprightText_ = false;
    long lineX_ = 0, lineY_ = 0;
    PdfFontFace* textFace_ = nullptr;
    int textSize_ = 0;
};

} // namespace platform
