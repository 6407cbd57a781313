#pragma once

#include "platform/text/NumberSeparators.h"
#include "xls/AreaNames.h"
#include "xls/CellFormats.h"
#include "xls/ExcelVersion.h"
#include "xls/FormulaDecoder.h"
#include "xls/FormulaEncoder.h"
#include "xls/KeptRecords.h"
#include "xls/Messages.h"
#include "xls/NameDefs.h"
#include "xls/OptionsDialog.h"
#include "xls/Palette.h"
#include "xls/RecordStorage.h"
#include "xls/Sheets.h"
#include "xls/Styles.h"
#include "xls/WorkbookData.h"
#include "xls/XFont.h"
#include "xls/XlsCharts.h"
#include "xls/XlsPictures.h"
#include "xls/XlsStream.h"

#include <functional>
#include <optional>
#include <string>

namespace platform {
class FontMetrics;
class PrinterDevice;
} // namespace platform

namespace xls {

// A whole Excel workbook held in memory: read from a file, changed, written back.
//
// The program's road:
//   Workbook book;                 // one empty sheet "Sheet 1"
//   book.setFilename(path);
//   book.read();                   // raises XlsError on a file it cannot read
//   Sheet& sheet = book.sheets().item(i);
//   sheet.name(); sheet.lastRow; sheet.lastCol;
//   sheet.getCellType(col, row); sheet.getAsInteger(col, row);
//   sheet.getAsString(col, row); sheet.setAsString(col, row, text);
//   book.write();                  // back to the same file, in the version read
// Rows and columns are 0-based. Nothing is written over the file until the whole new file
// is ready; a failed write leaves it as it was.
//
// Written in the version it was read in, a workbook carries through unchanged every record
// the library does not model (protection, conditional formats, filters, pivot tables, custom
// views, a BIFF5 sheet's own link records, ...), each in its substream and in its place, and
// its drawings as read while its notes, pictures and charts are as read. When the writer has
// to make the drawings itself (they changed, or the version did) it writes notes, pictures
// and charts; other drawn objects (text boxes, lines, form controls, other shapes, objects in
// groups, embedded objects, any drawn object of a file before Excel 97) it cannot make, and
// a write that would drop them is refused before anything is written, with an XlsError
// naming what would be lost:
//   This workbook holds 2 text boxes and 1 form control on sheet "Sheet1" that cannot be
//   written back.
// A write in another version refuses in the same way what that version cannot carry.
// book.unkeptDrawings() asks the same beforehand: it gives the middle of that message, or
// nothing when a write keeps everything; sheet.unkeptShapes() counts a sheet's by kind.
class Workbook {
public:
    // `messages` shows the workbook's messages to a person (nobody sees them without it).
    // The locale gives number texts their decimal separator and formulas their argument
    // separator; it must outlive the workbook.
    explicit Workbook(MessageHandler messages = {},
                      const platform::LocaleSettings& locale = systemLocale());
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook();

    static const platform::LocaleSettings& systemLocale();

    // Tells a person of a misuse through the handler the workbook was made with.
    void showMessage(const std::string& message) const;

    const std::string& filename() const { return filename_; }
    void setFilename(std::string name) { filename_ = std::move(name); }

    // Replaces the content with the workbook in filename(). An error leaves what was read
    // before it in place and raises XlsError (or platform::StorageError for a damaged
    // container).
    void read();
    // The same from the bytes of a file.
    void readBytes(std::string fileBytes);
    // Writes the whole workbook into filename() in version(): BIFF8 or BIFF5 as a compound
    // file, BIFF4 as a plain file of one sheet. Versions that cannot be written raise and
    // create nothing.
    void write();
    // The same into the caller's buffer, which gets the finished file appended.
    void writeToStream(std::string& target);
    // Back to a new workbook: one empty sheet, default formats and fonts. The version, the
    // file name and the settings of the workbook stay.
    void clear();

    ExcelVersion version() const { return version_; }
    void setVersion(ExcelVersion version);
    int maxRecordSize() const { return xls::maxRecordSize(version_); }

    Sheets& sheets() { return sheets_; }
    const Sheets& sheets() const { return sheets_; }
    CellFormats& formats() { return formats_; }
    XFonts& fonts() { return fonts_; }
    WorkbookData& window() { return window_; }
    OptionsDialog& optionsDialog() { return optionsDialog_; }
    AreaNames& areaNames() { return areaNames_; }
    const AreaNames& areaNames() const { return areaNames_; }
    NameDefs& nameDefs() { return nameDefs_; }
    const NameDefs& nameDefs() const { return nameDefs_; }
    Styles& styles() { return styles_; }
    Palette& palette() { return palette_; }
    // How many colours the PALETTE record read held (0: none read), and how many tabs the
    // sheet directory read named.
    size_t paletteColoursRead = 0;
    size_t tabsRead = 0;
    XlsStream::KeptStorages& keptStorages() { return keptStorages_; }
    // The other streams of the file read (document properties), kept with the storages.
    XlsStream::KeptStreams& keptStreams() { return keptStreams_; }
    // The records of the workbook globals that a write in the version read carries through
    // as they were (see KeptRecords); each sheet keeps its own.
    KeptRecords& keptGlobals() { return keptGlobals_; }
    const KeptRecords& keptGlobals() const { return keptGlobals_; }
    // The formula encoder, with the workbook's separators and boolean texts.
    FormulaEncoder& encoder();

    // The default font (font 0); with no font at all "No Fonts" is shown and null returned.
    XFont* font();
    void setFont(const XFont& font);

    uint16_t codepage() const { return codepage_; }
    void setCodepage(uint16_t codepage) { codepage_ = codepage == 0 ? 1252 : codepage; }
    char funcArgSeparator() const { return funcArgSeparator_; }
    // The character 0 goes back to the locale's list separator.
    void setFuncArgSeparator(char separator);
    char decimalSeparator() const { return locale_.separators().decimal; }
    // The country of the user's locale, as the platform numbers countries.
    int localeCountry() const { return locale_.countryCode(); }
    // How formula texts are written and read in this workbook.
    FormulaSyntax formulaSyntax() const;

    std::string userName;
    // The WRITEACCESS body read and the user name it gave.
    std::string writeAccessAsRead;
    std::string userNameAsRead;
    bool bookProtected = false;
    bool backup = false;
    bool refreshAll = false;
    bool writeUnicodeStrings = false;
    std::string strTrue = "TRUE";
    std::string strFalse = "FALSE";
    bool showFormulas = false;
    bool isMac = false;
    bool preserveMacros = false;

    // While a sink is set, a read hands the cells to it instead of keeping them (see
    // CellSink); the sink must outlive the read.
    void setCellSink(CellSink* sink) { cellSink_ = sink; }
    CellSink* cellSink() const { return cellSink_; }

    // Progress of a read in percent, 0 to 100; called after a successful read; called for
    // each ROW record (row, height, format) whose height is not 0x00FF.
    std::function<void(int percent)> onProgress;
    std::function<void()> onAfterRead;
    std::function<void(int row, int height, int xf)> onRow;

    // Set by a read, cleared by clear(): a workbook built in memory gets the built-in cell
    // styles and the system's country when written.
    bool isDefaultWorkbook = true;
    // The version the workbook was read in; a write in it carries through what the library
    // does not model.
    ExcelVersion readVersion = ExcelVersion::None;
    bool date1904 = false;
    bool prot4Rev = false;
    bool saveRecalc = false;
    uint16_t countryDefault = 1;
    uint16_t countryWinIni = 1;
    std::string codeName;       // the workbook's name in macros (CODENAME), as read
    std::string codeNameAsRead; // the same as a flagged string, from a BIFF8 file

    // Pictures read from a file are kept in memory, else in temporary files; those are
    // deleted when the workbook is cleared unless deleteTempFiles is off.
    bool picturesInMemory = false;
    bool deleteTempFiles = true;
    XlsPictures& pictures() { return pictures_; }
    // Chart sheets read from a file, kept as their records.
    InFileCharts& inFileCharts() { return inFileCharts_; }
    const ChartContext& chartContext() const { return chartContext_; }

    // Whether a write now carries through what the library does not model: the workbook was
    // read from a file and is written in the version it was read in.
    bool carriesThrough() const;
    // Whether the notes, pictures and charts of the sheets are as read, so that a write
    // carrying through takes the file's own drawing records.
    bool drawingsAsRead() const;

    // What a write in version() could not keep, as the middle of its refusal: "2 text boxes
    // and 1 form control on sheet "Sheet1"", or after a change of version "conditional
    // formats on sheet "Data" and defined names"; empty when it keeps everything.
    std::string unkeptDrawings() const;

    // What the drawing writer counts over all sheets.
    size_t noteCount() const;
    size_t sheetPictureCount() const;
    size_t chartCount() const; // user charts and charts read from files, on all sheets

    // Text measured on the screen, for placing pictures that have no cells of their own
    // yet; fixed metrics unless the program gives the screen's.
    void setFontMetrics(platform::FontMetrics* metrics);
    platform::FontMetrics& fontMetrics();

    // The text of a name or sheet that formula tokens refer to (see NameTextCallback).
    std::string nameText(int kind, int index, int secondIndex) const;
    // The formula encoder's lookups: an EXTERNSHEET entry for a sheet text ("Sheet2",
    // "'My sheet'", "'C:\\[book.xls]Sheet1'"), a defined or area name, a DDE link.
    std::optional<SheetReference> lookupSheet(std::string_view text);
    int lookupName(std::string_view text) const;
    std::optional<DdeReference> lookupDde(std::string_view applicationTopic, std::string_view item);

    // The printer whose device settings a written workbook may carry; none by default.
    void setPrinter(platform::PrinterDevice* printer);
    // The current printer's device settings, cached; none when the printer has none. With
    // no printer at all raises "No printer selected".
    const std::optional<std::string>& defaultPrinterDevMode();
    bool hasPrinterDevMode();

private:
    void wireNames();
    void writeTo(std::string* target);
    template <typename Read>
    void readWith(Read read);
    // The sheets' notes, pictures and charts in a few words each.
    std::string drawingFingerprint() const;
    int findOrAddExternSheet(int supBook, int firstSheet, int lastSheet);

    MessageHandler messages_;
    const platform::LocaleSettings& locale_;
    std::string filename_;
    ExcelVersion version_ = ExcelVersion::Excel97;
    CellFormats formats_;
    XFonts fonts_;
    // Before the sheets: their placements point at the pictures until they go.
    XlsPictures pictures_;
    ChartContext chartContext_;
    Sheets sheets_;
    WorkbookData window_;
    OptionsDialog optionsDialog_;
    AreaNames areaNames_;
    NameDefs nameDefs_;
    Styles styles_;
    Palette palette_;
    XlsStream::KeptStorages keptStorages_;
    XlsStream::KeptStreams keptStreams_;
    KeptRecords keptGlobals_;
    std::string drawingsRead_;
    InFileCharts inFileCharts_;
    platform::FontMetrics* fontMetrics_ = nullptr;
    FormulaEncoder encoder_;
    uint16_t codepage_ = 1200;
    char funcArgSeparator_ = ',';
    platform::PrinterDevice* printer_ = nullptr;
    CellSink* cellSink_ = nullptr;
    std::optional<std::string> printerDevMode_;
    bool printerDevModeCached_ = false;
};

} // namespace xls
