#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

namespace platform {

// One face of a TrueType font as the PDF printer uses it: the glyph and advance of each
// character, the face's vertical metrics, and the font program of the glyphs a document
// used, to embed. Advances and metrics are in the face's design units; measuring and drawing
// both take them from here, so that a text ends on paper where it was measured to end.
class PdfFontFace {
public:
    struct Glyph {
        uint16_t id = 0;
        int advance = 0;
    };

    // The face of the family in that style as the system's font configuration resolves it;
    // a family without TrueType outlines (which cannot be embedded) falls back to Liberation
    // Sans. Nothing when no face can be loaded at all.
    static std::unique_ptr<PdfFontFace> load(const std::string& family, bool bold, bool italic);

    Glyph glyph(char32_t character);

    int unitsPerEm() const { return unitsPerEm_; }
    int ascender() const { return ascender_; }
    int descender() const { return descender_; } // below the baseline, positive
    int capHeight() const { return capHeight_; }
    int underlinePosition() const { return underlinePosition_; } // below the baseline, positive
    int underlineThickness() const { return underlineThickness_; }
    const std::array<int, 4>& boundingBox() const { return box_; }
    double italicAngle() const { return italicAngle_; }
    // The face is regular where a bold or italic one was asked for: the printer thickens or
    // slants it itself.
    bool synthesizedBold() const { return synthesizedBold_; }
    bool synthesizedItalic() const { return synthesizedItalic_; }
    const std::string& postScriptName() const { return postScriptName_; }
    bool sameFaceAs(const PdfFontFace& other) const {
        return postScriptName_ == other.postScriptName_ &&
               synthesizedBold_ == other.synthesizedBold_ &&
               synthesizedItalic_ == other.synthesizedItalic_;
    }

    // A TrueType program holding the outlines of these glyphs (and of the glyphs they are
    // built from); the others are kept as empty glyphs so that every glyph keeps its number.
    std::string subsetProgram(const std::set<uint16_t>& glyphs) const;

private:
    PdfFontFace() = default;
    bool readTables();
    int advanceOf(uint16_t glyph) const;

    struct Tables;
    std::shared_ptr<Tables> tables_;
    int unitsPerEm_ = 1000;
    int ascender_ = 0, descender_ = 0, capHeight_ = 0;
    int underlinePosition_ = 0, underlineThickness_ = 0;
    std::array<int, 4> box_{};
    double italicAngle_ = 0;
    bool synthesizedBold_ = false, synthesizedItalic_ = false;
    std::string postScriptName_;
    std::array<Glyph, 256> latin_{};
    std::array<bool, 256> latinKnown_{};
    std::unordered_map<char32_t, Glyph> others_;
};

} // namespace platform
