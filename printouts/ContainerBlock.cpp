#include "printouts/ContainerBlock.h"

#include "core/Convert.h"
#include "core/postage/EntryOffice.h"
#include "printouts/Barcode.h"
#include "printouts/ContainerTag.h"
#include "reports/TextFitting.h"

#include <algorithm>

namespace quillan {

namespace {

int tagFontSize(const FontSettings& fonts, FontSettings::Line line) {
    int32_t size = 0;
    const std::string& text = fonts.at(line);
    if (!tryStrToInt(text, size))
        throw ConvertError("Line " + intToStr(line) + " of " + FontSettings::FileName +
                           ", a tag font size, is not a number: \"" + text +
                           "\". Set the sizes under Settings, Tray/Bag Tag Fonts.");
    return size;
}

// Draws one block; every drawing call is made only while the page is in range.
class BlockDrawing {
public:
    BlockDrawing(PrintRun& run, const TagStyle& style, const ContainerTag& tag, size_t k,
                 int32_t pieces, bool onTagStock)
        : run_(run), printer_(run.printer()), style_(style), tag_(tag), k_(k), pieces_(pieces),
          onTagStock_(onTagStock) {}

    // Draws the tag with its top-left corner at (x0, y0); returns the running y at its end.
    int drawTag(int x0, int y0) { return tag_.sack ? drawSack(x0, y0) : drawTray(x0, y0); }

    bool drawing() const { return run_.pageInRange; }
    void text(int x, int y, const std::string& s) {
        if (drawing())
            printer_.textOut(x, y, s);
    }
    void size(int points) { run_.setFontSize(points); }
    int x(long double points) const { return run_.dotsX(points); }
    int y(long double points) const { return run_.dotsY(points); }

private:
    // A text of a tag drawn between left and right, aligned to one of them: smaller when it
    // would reach the field beside it or the tag's edge, and then cut at a whole word.
    // Returns where the text begins (the size is left at `points`).
    int fitted(int left, int right, int top, const std::string& s, int points, bool alignRight) {
        FittedText fit = fitWithin(s, points, right - left);
        size(fit.size);
        int begin = alignRight ? right - printer_.textWidth(fit.text) : left;
        text(begin, top, fit.text);
        size(points);
        return begin;
    }
    // Where a right-aligned text of the tag will begin, measured before the texts beside it.
    int fittedBegin(int left, int right, const std::string& s, int points) {
        if (s.empty())
            return right + gap();
        FittedText fit = fitWithin(s, points, right - left);
        size(fit.size);
        int begin = right - printer_.textWidth(fit.text);
        size(points);
        return begin;
    }
    FittedText fitWithin(const std::string& s, int points, int width) {
        return fitText(s, points, SmallestTagTextSize, width, [this](const std::string& t, int p) {
            size(p);
            return printer_.textWidth(t);
        });
    }
    // The room kept between two texts of a tag.
    int gap() const { return x(4); }

    // The tag pictured in the instructions goes without a barcode that cannot be drawn; the
    // tags themselves refuse to print then and say why.
    void barcode(int left, int top) {
        if (!drawing() || (!onTagStock_ && !tag_.hasPrintableBarcode()))
            return;
        DrawInterleaved2of5(printer_, run_.scale(), tag_.barcodeDigits(), left, top);
    }
    void outline(int left, int top, long double width, long double height) {
        if (drawing() && !onTagStock_)
            printer_.rectangle(left, top, left + x(width), top + y(height));
    }
    std::string countLine(const char* word) const {
        return std::string(word) + " #" + intToStr(static_cast<int64_t>(k_) + 1) + "   " +
               intToStr(pieces_) + " pc";
    }

    int drawSack(int x0, int y0);
    int drawTray(int x0, int y0);
    void drawCutLine(int x0, int& top);

    PrintRun& run_;
    platform::PrinterDevice& printer_;
    const TagStyle& style_;
    const ContainerTag& tag_;
    size_t k_;
    int32_t pieces_;
    bool onTagStock_;
};

// The destination shares its line with the ZIP at the right; a third label line at the right
// stands beside the content line and the entry office below it.
int BlockDrawing::drawSack(int x0, int y0) {
    outline(x0, y0, 238.5, 69.12);
    int top = onTagStock_ ? y0 + y(4) : y0;
    barcode(x0 + x(12.24), top + y(5));
    const int left = x0 + x(105.84), right = x0 + x(233.28);
    const int leftSize = style_.sackLeft, rightSize = style_.sackRight;
    top += y(9);
    int zipBegin = fitted(left, right, top, tag_.zipText, rightSize, true);
    fitted(left, zipBegin - gap(), top, tag_.destinationLine, leftSize, false);
    top += y(13);
    int besideExtra = fittedBegin(left, right, tag_.extraLine, rightSize) - gap();
    fitted(left, besideExtra, top, tag_.contentLine, leftSize, false);
    if (!tag_.extraLine.empty()) {
        top += y(7);
        fitted(left, right, top, tag_.extraLine, rightSize, true);
        top -= y(5);
    }
    top += y(13);
    fitted(left, besideExtra, top, style_.entryOffice, leftSize, false);
    top += y(13);
    fitted(left, right, top, countLine("Sack"), leftSize - 1, false);
    if (onTagStock_)
        drawCutLine(x0, top);
    return top - y(40);
}

// Sack tags are cut apart along a dotted line under each tag and up its right side.
void BlockDrawing::drawCutLine(int x0, int& top) {
    top += y(17);
    int right = x0 + x(237.6);
    int raised = top - y(69);
    if (drawing()) {
        printer_.setPen(platform::colors::Black, 1, platform::PenStyle::Dot);
        printer_.moveTo(x0, top);
        printer_.lineTo(right, top);
        printer_.lineTo(right, raised);
        printer_.setPen(platform::colors::Black, 1, platform::PenStyle::Solid);
    }
    top = raised + y(74);
    size(8);
    text(x0 + x(108), top, "cut");
}

// The entry office is centred under the stripes, clear of the tag code at its left.
int BlockDrawing::drawTray(int x0, int y0) {
    outline(x0, y0, 252, 144);
    const int left = x0 + x(14.4), right = x0 + x(239.04);
    const int leftSize = style_.trayLeft, rightSize = style_.trayRight;
    int top = y0 + y(7) + (onTagStock_ ? y(4) : 0);
    int zipBegin = fitted(left, right, top, tag_.zipText, rightSize, true);
    fitted(left, zipBegin - gap(), top, tag_.destinationLine, leftSize, false);
    top += y(15);
    int besideExtra = fittedBegin(left, right, tag_.extraLine, rightSize) - gap();
    fitted(left, besideExtra, top, tag_.contentLine, leftSize, false);
    if (!tag_.extraLine.empty()) {
        top += y(6);
        fitted(left, right, top, tag_.extraLine, rightSize, true);
        top -= y(6);
    }
    top += y(27);
    barcode(x0 + x(15.48), top);
    if (drawing() && tag_.stripes)
        DrawAutomationStripes(printer_, run_.scale(), x0 + x(132.48), top + y(52));
    top += y(63);
    const int bottomSize = style_.trayBottom;
    size(bottomSize);
    int codeLeft = x0 + x(28.8), centre = x0 + x(162);
    int codeEnd = codeLeft + printer_.textWidth(tag_.tagCode);
    text(codeLeft, top, tag_.tagCode);
    int halfRoom = std::min(centre - codeEnd - gap(), right - centre);
    FittedText office = fitWithin(style_.entryOffice, bottomSize, 2 * halfRoom);
    size(office.size);
    text(centre - printer_.textWidth(office.text) / 2, top, office.text);
    top += y(14);
    fitted(x0 + x(15.48), right, top, countLine("Tray"), bottomSize - 1, false);
    return top - y(35);
}

int tagLeft(PrintRun& run, ContainerBlockMode mode) {
    int offset = run.printer().printableOffset().x;
    switch (mode) {
    case ContainerBlockMode::LeftTag:
        return run.dotsX(58) - offset;
    case ContainerBlockMode::RightTag:
        return run.dotsX(310) - offset;
    case ContainerBlockMode::Instructions:
        break;
    }
    return run.dotsX(155.52);
}

// How far below its top a make-up block ends: the contents heading drawn under the tag
// (a tray's tag is the taller, and its heading begins 206 pt down), with its line.
constexpr long double SackBlockHeight = 126;
constexpr long double TrayBlockHeight = 218;

// A block that would run off the page starts a new one; at the To page printing stops.
bool roomForMakeUpBlock(PrintRun& run, const ContainerTag& tag) {
    int top = run.printer().penPosition().y;
    int height = run.printer().pageHeight();
    bool overflows = top + run.dotsY(tag.sack ? SackBlockHeight : TrayBlockHeight) > height;
    if (overflows)
        return run.nextPageOrStop("sort");
    return !run.stopped();
}

std::string makeUpSentence(const ContainerTag& tag, int32_t pieces) {
    return "Make" + tag.article + " " + tag.levelWord + tag.containerWord() + " totaling " +
           intToStr(pieces) + " piece" + (pieces >= 2 ? "s" : "") + " in " + tag.destinationText +
           ".";
}

void drawMakeUpSentence(PrintRun& run, BlockDrawing& draw, const ContainerTag& tag,
                        int32_t pieces) {
    int top = run.printer().penPosition().y + draw.y(6);
    run.setFontName("Arial");
    draw.size(12);
    draw.text(draw.x(36), top, makeUpSentence(tag, pieces));
    int requestTop = top + draw.y(20);
    run.printer().moveTo(draw.x(54), requestTop);
    draw.size(10);
    draw.text(draw.x(54), requestTop, std::string("Label this") + tag.containerWord() + " as:");
}

// A tray of letters without packages is full at four fifths of a full tray, or as a full
// one-foot mm tray; a tray that is not full is banded.
bool isFullTray(const SortedMailing& mailing, int32_t pieces) {
    const MailTypeSettings& mailType = mailing.mailType();
    double capacity = mailType.fullTray();
    double fourFifths = capacity * 0.8;
    double oneFootFourFifths = capacity * 0.8 * 10.25 / 21;
    double oneFoot = capacity * 10.25 / 21;
    return pieces >= fourFifths ||
           (pieces >= oneFootFourFifths && pieces <= oneFoot && mailType.mmTrays());
}

ContainerListing contentsHeading(const SortedMailing& mailing, const ContainerTag& tag,
                                 const Container& container, std::string& text) {
    text = std::string("This") + tag.containerWord();
    if (!mailing.mailClass().isTraysOnlyLetters()) {
        text += " should contain the following packages:";
        return ContainerListing::Package;
    }
    bool full = isFullTray(mailing, container.pieces);
    const char* banded = ", which should be banded to prevent shifting:";
    if (container.level == ContainerLevel::FiveDigit ||
        container.level == ContainerLevel::ThreeDigit) {
        text += std::string(" should contain the following zip codes") + (full ? ":" : banded);
        return ContainerListing::None;
    }
    text += std::string(" should contain the following groups") + (full ? ":" : banded);
    return ContainerListing::Group;
}

ContainerListing drawContents(PrintRun& run, BlockDrawing& draw, const SortedMailing& mailing,
                              const ContainerTag& tag, size_t k, int& top) {
    const Container& container = mailing.containers().at(k);
    bool standard = mailing.mailClass().isStandard();
    const int boxLeft = draw.x(414);
    run.setFontName("Arial");
    draw.size(10);
    draw.text(boxLeft, top,
              std::string("All pieces in this") + tag.containerWord() + " are in the");
    draw.text(boxLeft, top + draw.y(12),
              standard ? "following postage categories:" : "following postage category:");
    if (standard)
        draw.text(boxLeft, top + draw.y(32),
                  "Entry Discount: " + std::string(entryText(container.entry)));
    draw.text(boxLeft, top + draw.y(46),
              "Presort Discount: " + std::string(levelText(container.level)));
    if (!tag.sack)
        top += draw.y(15);
    std::string heading;
    ContainerListing listing = contentsHeading(mailing, tag, container, heading);
    draw.text(draw.x(54), top + draw.y(74), heading);
    return listing;
}

} // namespace

TagStyle TagStyle::of(const SortedMailing& mailing) {
    const FontSettings& fonts = mailing.fonts();
    TagStyle style;
    style.fontName = fonts.fontName();
    style.trayLeft = tagFontSize(fonts, FontSettings::TrayLeftSize);
    style.trayRight = tagFontSize(fonts, FontSettings::TrayRightSize);
    style.trayBottom = tagFontSize(fonts, FontSettings::TrayBottomSize);
    style.sackLeft = tagFontSize(fonts, FontSettings::SackLeftSize);
    style.sackRight = tagFontSize(fonts, FontSettings::SackRightSize);
    style.entryOffice = EntryOfficeName(mailing);
    return style;
}

ContainerListing PrintContainerBlock(PrintRun& run, const SortedMailing& mailing,
                                     const TagStyle& style, size_t k, ContainerBlockMode mode) {
    ContainerTag tag = DescribeContainer(mailing, k);
    int32_t pieces = mailing.containers().at(k).pieces;
    bool instructions = mode == ContainerBlockMode::Instructions;
    BlockDrawing draw(run, style, tag, k, pieces, !instructions);
    if (instructions) {
        if (!roomForMakeUpBlock(run, tag))
            return ContainerListing::Package;
        drawMakeUpSentence(run, draw, tag, pieces);
    }
    run.setFontName(style.fontName);
    int top = draw.drawTag(tagLeft(run, mode), run.printer().penPosition().y);
    ContainerListing listing = ContainerListing::Package;
    if (instructions)
        listing = drawContents(run, draw, mailing, tag, k, top);
    run.printer().moveTo(draw.x(36), top + draw.y(94));
    return listing;
}

} // namespace quillan
