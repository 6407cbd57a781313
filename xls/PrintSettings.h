#pragma once

#include "xls/Messages.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// Paper sizes by the platform's paper-size code, 0 to 68; a file may hold other codes
// (printers' own sizes), which are kept as they are.
enum class PaperSize : uint16_t {
    None,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    Size10X14,
    Size11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    EnvDL,
    EnvC5,
    EnvC3,
    EnvC4,
    EnvC6,
    EnvC65,
    EnvB4,
    EnvB5,
    EnvB6,
    EnvItaly,
    EnvMonarch,
    EnvPersonal,
    FanfoldUS,
    FanfoldStdGerman,
    FanfoldLglGerman,
    ISO_B4,
    JapanesePostcard,
    Size9X11,
    Size10X11,
    Size15X11,
    EnvInvite,
    Reserved48,
    Reserved49,
    LetterExtra,
    LegalExtra,
    TabloidExtra,
    A4Extra,
    LetterTransverse,
    A4Transverse,
    LetterExtraTransverse,
    APlus,
    BPlus,
    LetterPlus,
    A4Plus,
    A5Transverse,
    B5Transverse,
    A3Extra,
    A5Extra,
    B5Extra,
    A2,
    A3Transverse,
    A3ExtraTransverse
};

struct HorizPagebreak {
    int32_t row = 0;
    int32_t col1 = 0;
    int32_t col2 = 255;
};

struct VertPagebreak {
    int32_t col = 0;
    int32_t row1 = 0;
    int32_t row2 = 65535;
};

// A sheet's page setup, with its page breaks and the rows and columns printed on each page.
class PrintSettings {
public:
    enum Option : uint16_t {
        LeftToRight = 0x0001,
        Portrait = 0x0002,
        NoColor = 0x0004,
        DraftQuality = 0x0008,
        Notes = 0x0010,
        RowColHeading = 0x0020,
        Gridlines = 0x0040,
        HorizCenter = 0x0080,
        VertCenter = 0x0100,
    };
    static constexpr size_t MaxHeaderLength = 255;

    uint16_t copies = 1;
    double footerMargin = 0;
    double headerMargin = 0;
    double marginBottom = -1, marginLeft = -1, marginRight = -1, marginTop = -1; // -1: not set
    uint16_t options = Portrait;
    PaperSize paperSize = PaperSize::A4;
    uint16_t scalingFactor = 100;
    uint16_t startingPage = 1;
    // The rest of the page setup, as read (a new sheet's otherwise): how many pages wide and
    // tall a sheet fitted to the page prints on (0 for as many as it takes), the printer's
    // resolutions, and the option bits named here by what they mean to a printout.
    uint16_t fitWidth = 1;
    uint16_t fitHeight = 1;
    uint16_t resolution = 600;
    uint16_t verticalResolution = 600;
    enum SetupFlag : uint16_t {
        // The paper size, scale, resolutions, copies and orientation were never set for a
        // printer: they mean nothing, and a printout takes the printer's own.
        PrinterSettingsNotSet = 0x0004,
        NoOrientation = 0x0040,
        OwnStartingPage = 0x0080,
        NotesAtEnd = 0x0200,
        CellErrors = 0x0C00, // how errors print: as shown, blank, "--" or "#N/A"
    };
    // The SETUP option bits other than those of `options`.
    uint16_t setupFlags = 0;
    // The option word of a SETUP record: the page options of `options` and `setupFlags`.
    uint16_t setupOptionWord() const;
    void setSetupOptionWord(uint16_t word);
    std::vector<HorizPagebreak> horizPagebreaks;
    std::vector<VertPagebreak> vertPagebreaks;

    const std::string& header() const { return header_; }
    const std::string& footer() const { return footer_; }
    // 256 characters or more show a message and keep the old text.
    void setHeader(std::string_view text);
    void setFooter(std::string_view text);
    // As read from a BIFF8 file, a flagged string; it keeps characters the ANSI code page
    // lacks and goes back as read while the text is the same.
    void setHeaderAsRead(std::string_view flagged);
    void setFooterAsRead(std::string_view flagged);
    const std::string& headerAsRead() const { return headerAsRead_; }
    const std::string& footerAsRead() const { return footerAsRead_; }

    // "first:last" (rows and columns 0-based, -1:-1 for none). A text without ":", with a
    // part that is not a number below -1, or with last before first raises "Invalid value";
    // a negative part sets none.
    std::string rowsOnEachPage() const;
    void setRowsOnEachPage(std::string_view text);
    std::string colsOnEachPage() const;
    void setColsOnEachPage(std::string_view text);
    int firstRow() const { return firstRow_; }
    int lastRow() const { return lastRow_; }
    int firstCol() const { return firstCol_; }
    int lastCol() const { return lastCol_; }

    // Called with first col, last col, first row, last row whenever the titles change: the
    // workbook keeps them as the sheet's print-titles name.
    std::function<void(int, int, int, int)> onPrintTitles;
    // Shows a message to a person: the sheet passes its workbook's handler.
    MessageHandler onMessage;

    // Everything but the paper size, header, footer and titles back to the defaults.
    void reset();

private:
    static bool parseRange(std::string_view text, int& first, int& last);
    void storeTitles();
    void tell(const std::string& message) const {
        if (onMessage)
            onMessage(message);
    }

    std::string header_;
    std::string footer_;
    std::string headerAsRead_;
    std::string footerAsRead_;
    int firstRow_ = -1, lastRow_ = -1, firstCol_ = -1, lastCol_ = -1;
};

} // namespace xls
