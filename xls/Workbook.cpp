#include "xls/Workbook.h"

#include "platform/print/PrinterDevice.h"
#include "platform/text/FontMetrics.h"
#include "xls/WriteLosses.h"
#include "xls/XlsError.h"
#include "xls/XlsReader.h"
#include "xls/XlsWriter.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace xls {

namespace {

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

} // namespace

Workbook::Workbook(MessageHandler messages, const platform::LocaleSettings& locale)
    : messages_(std::move(messages)), locale_(locale), pictures_(messages_), sheets_(*this),
      palette_(defaultPalette()), funcArgSeparator_(locale.separators().list) {
    formats_.setDefault();
    wireNames();
    sheets_.add();
    setVersion(ExcelVersion::Excel97);
}

Workbook::~Workbook() {
    try {
        clear();
    } catch (...) {
    }
}

const platform::LocaleSettings& Workbook::systemLocale() {
    static const platform::SystemLocaleSettings locale;
    return locale;
}

void Workbook::wireNames() {
    chartContext_.encoder = &encoder_;
    chartContext_.nameText = [this](int kind, int index, int second) {
        return nameText(kind, index, second);
    };
    areaNames_.encoder = &encoder_;
    areaNames_.nameDefs = &nameDefs_;
    areaNames_.nameText = [this](int kind, int index, int second) {
        return nameText(kind, index, second);
    };
    encoder_.functionLookup = [](std::string_view) { return -1; };
    encoder_.nameLookup = [this](std::string_view name) { return lookupName(name); };
    encoder_.sheetLookup = [this](std::string_view sheet) { return lookupSheet(sheet); };
    encoder_.ddeLookup = [this](std::string_view applicationTopic, std::string_view item) {
        return lookupDde(applicationTopic, item);
    };
}

void Workbook::setVersion(ExcelVersion version) {
    version_ = version;
    sheets_.setMaxRecordSize(maxRecordSize());
    encoder_.version = version;
}

void Workbook::clear() {
    if (deleteTempFiles)
        pictures_.deleteTempFiles();
    areaNames_.clear();
    isDefaultWorkbook = true;
    palette_ = defaultPalette();
    paletteColoursRead = 0;
    tabsRead = 0;
    sheets_.clear();
    pictures_.clear();
    inFileCharts_.clear();
    nameDefs_.clear();
    formats_.setDefault();
    fonts_.setDefault();
    styles_.clear();
    keptStorages_.clear();
    keptStreams_.clear();
    keptGlobals_.clear();
    readVersion = ExcelVersion::None;
    codeName.clear();
    codeNameAsRead.clear();
    writeAccessAsRead.clear();
    printerDevMode_.reset();
    printerDevModeCached_ = false;
    date1904 = false;
    prot4Rev = false;
    saveRecalc = false;
    countryDefault = countryWinIni = 1;
    optionsDialog_.unnamedCalcMode = {};
    optionsDialog_.unnamedShowObjects = {};
}

template <typename Read>
void Workbook::readWith(Read read) {
    clear();
    fonts_.clear();
    formats_.reset();
    XlsReader reader(*this);
    read(reader);
    drawingsRead_ = drawingFingerprint();
    if (onAfterRead)
        onAfterRead();
}

void Workbook::read() {
    readWith([this](XlsReader& reader) { reader.read(filename_); });
}

void Workbook::readBytes(std::string fileBytes) {
    readWith([&fileBytes](XlsReader& reader) { reader.readBytes(std::move(fileBytes)); });
}

void Workbook::write() {
    writeTo(nullptr);
}

void Workbook::writeToStream(std::string& target) {
    writeTo(&target);
}

void Workbook::writeTo(std::string* target) {
    if (version_ == ExcelVersion::Excel21 || version_ == ExcelVersion::Excel30)
        throw XlsError("Can not write Excel 2.1/3.0 files");
    if (version_ < ExcelVersion::Excel21)
        throw XlsError("Can not write a workbook of an unknown Excel version");
    std::string unkept = unkeptDrawings();
    if (!unkept.empty())
        throw XlsError("This workbook holds " + unkept + " that cannot be written " +
                       (carriesThrough() || isDefaultWorkbook || readVersion == version_
                            ? std::string("back.")
                            : "as " + versionFileName(version_) + "."));
    XlsWriter writer(*this);
    if (version_ == ExcelVersion::Excel40) {
        // A BIFF4 file holds one sheet: the others would be lost without a word.
        if (sheets_.count() > 1)
            throw XlsError("Can not write a workbook of several sheets as an Excel 4.0 file");
        return writer.writeBiff4(target);
    }
    writer.writeBiff58(target);
}

void Workbook::showMessage(const std::string& message) const {
    if (messages_)
        messages_(message);
}

XFont* Workbook::font() {
    if (fonts_.count() == 0) {
        showMessage("No Fonts");
        return nullptr;
    }
    return &fonts_.item(0);
}

void Workbook::setFont(const XFont& font) {
    if (fonts_.count() == 0) {
        showMessage("No Fonts");
        return;
    }
    fonts_.item(0) = font;
}

void Workbook::setFuncArgSeparator(char separator) {
    funcArgSeparator_ = separator == '\0' ? locale_.separators().list : separator;
}

FormulaSyntax Workbook::formulaSyntax() const {
    FormulaSyntax syntax;
    syntax.argumentSeparator = funcArgSeparator_;
    syntax.decimalSeparator = decimalSeparator();
    syntax.trueText = strTrue;
    syntax.falseText = strFalse;
    return syntax;
}

FormulaEncoder& Workbook::encoder() {
    encoder_.argumentSeparator = funcArgSeparator_;
    encoder_.decimalSeparator = decimalSeparator();
    encoder_.trueText = strTrue;
    encoder_.falseText = strFalse;
    return encoder_;
}

std::string Workbook::nameText(int kind, int index, int secondIndex) const {
    if (kind == 3) {
        if (index < 0 || static_cast<size_t>(index) >= sheets_.count())
            return "#REF!";
        return sheets_.item(static_cast<size_t>(index)).name();
    }
    if (kind == 2 && secondIndex < 1 && index >= 0 &&
        static_cast<size_t>(index) < nameDefs_.externSheetCount()) {
        const ExternSheet& entry = nameDefs_.externSheet(static_cast<size_t>(index));
        bool own = entry.supBook < nameDefs_.supBookCount() &&
                   nameDefs_.supBook(entry.supBook).fileName == NameDefs::OwnWorkbook;
        if (own) {
            auto sheetName = [this](uint16_t sheet) {
                return sheet < sheets_.count() ? sheets_.item(sheet).name() : std::string("#REF");
            };
            std::string text = sheetName(entry.firstSheet);
            if (entry.lastSheet != entry.firstSheet)
                text += ":" + sheetName(entry.lastSheet);
            return text + "!";
        }
    }
    if (kind == 0) {
        int names = static_cast<int>(nameDefs_.nameCount());
        if (index > names) {
            size_t area = static_cast<size_t>(index - names - 1);
            return area < areaNames_.count() ? areaNames_.item(area).areaName() : "#NAME!";
        }
        return nameDefs_.externSheetText(0, 0, index);
    }
    return nameDefs_.externSheetText(kind, index, secondIndex);
}

int Workbook::findOrAddExternSheet(int supBook, int firstSheet, int lastSheet) {
    for (size_t i = 0; i < nameDefs_.externSheetCount(); ++i) {
        const ExternSheet& entry = nameDefs_.externSheet(i);
        if (entry.supBook == supBook && entry.firstSheet == firstSheet &&
            entry.lastSheet == lastSheet)
            return static_cast<int>(i);
    }
    return nameDefs_.addExternSheet(supBook, firstSheet, lastSheet);
}

std::optional<SheetReference> Workbook::lookupSheet(std::string_view text) {
    std::string_view sheet = text;
    bool quoted = sheet.size() > 2 && sheet.front() == '\'' && sheet.back() == '\'';
    if (quoted)
        sheet = sheet.substr(1, sheet.size() - 2);
    size_t open = sheet.find('[');
    size_t close = sheet.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
        std::string file = std::string(sheet.substr(0, open)) +
                           std::string(sheet.substr(open + 1, close - open - 1));
        std::vector<std::string> names{std::string(sheet.substr(close + 1))};
        int book = nameDefs_.addSupBook(file, &names);
        return SheetReference{findOrAddExternSheet(book, 0, 0), 0, 0};
    }
    if (quoted)
        return std::nullopt;
    std::string wanted = upperAscii(sheet);
    for (size_t i = 0; i < sheets_.count(); ++i) {
        if (upperAscii(sheets_.item(i).name()) != wanted)
            continue;
        int book = nameDefs_.addSupBook(NameDefs::OwnWorkbook, nullptr);
        int sheetIndex = static_cast<int>(i);
        return SheetReference{findOrAddExternSheet(book, sheetIndex, sheetIndex), sheetIndex,
                              sheetIndex};
    }
    return std::nullopt;
}

int Workbook::lookupName(std::string_view text) const {
    int index = nameDefs_.findName(text);
    if (index >= 0)
        return index;
    int area = areaNames_.indexOfName(text);
    return area < 0 ? -1 : area + static_cast<int>(nameDefs_.nameCount());
}

std::optional<DdeReference> Workbook::lookupDde(std::string_view applicationTopic,
                                                std::string_view item) {
    int own = nameDefs_.addSupBook(NameDefs::OwnWorkbook, nullptr);
    findOrAddExternSheet(own, 0, 0);
    int book = nameDefs_.addSupBook(applicationTopic, nullptr);
    int sheet = findOrAddExternSheet(book, 0xFFFE, 0xFFFE);
    int name = nameDefs_.addExternNameTo(static_cast<size_t>(book), 0x7FE2, item, {});
    return DdeReference{sheet, name + 1};
}

bool Workbook::carriesThrough() const {
    return !isDefaultWorkbook && readVersion == version_;
}

bool Workbook::drawingsAsRead() const {
    return drawingFingerprint() == drawingsRead_;
}

std::string Workbook::unkeptDrawings() const {
    return describeWriteLosses(*this);
}

// Enough of each note, placed picture and chart to tell whether one was added, removed,
// moved or changed since the read.
std::string Workbook::drawingFingerprint() const {
    std::string print = std::to_string(pictures_.count());
    auto anchor = [&print](const AnchorObject& a) {
        for (int32_t value : {a.col1, a.col1Offset, a.row1, a.row1Offset, a.col2, a.col2Offset,
                              a.row2, a.row2Offset})
            print += "," + std::to_string(value);
    };
    for (size_t i = 0; i < sheets_.count(); ++i) {
        Sheet& sheet = sheets_.item(i);
        print += "|" + std::to_string(sheet.charts().count());
        for (size_t n = 0; n < sheet.notes().count(); ++n) {
            const Note& note = sheet.notes().item(n);
            print += ";n" + std::to_string(note.cellKey()) + "," + note.author + "," +
                     note.storedText() + "," + std::to_string(note.objectId);
            anchor(note);
        }
        for (size_t p = 0; p < sheet.sheetPictures().count(); ++p) {
            const SheetPicture& picture = sheet.sheetPictures().item(p);
            print += ";p" + picture.pictureName() + "," + std::to_string(picture.zoom());
            anchor(picture);
        }
        for (size_t c = 0; c < sheet.inFileCharts().count(); ++c) {
            print += ";c" + std::to_string(sheet.inFileCharts().item(c).records.count());
            anchor(sheet.inFileCharts().item(c));
        }
    }
    return print;
}

size_t Workbook::noteCount() const {
    size_t count = 0;
    for (size_t i = 0; i < sheets_.count(); ++i)
        count += sheets_.item(i).notes().count();
    return count;
}

size_t Workbook::sheetPictureCount() const {
    size_t count = 0;
    for (size_t i = 0; i < sheets_.count(); ++i)
        count += sheets_.item(i).sheetPictures().count();
    return count;
}

size_t Workbook::chartCount() const {
    size_t count = 0;
    for (size_t i = 0; i < sheets_.count(); ++i)
        count += sheets_.item(i).charts().count() + sheets_.item(i).inFileCharts().count();
    return count;
}

void Workbook::setFontMetrics(platform::FontMetrics* metrics) {
    fontMetrics_ = metrics;
}

platform::FontMetrics& Workbook::fontMetrics() {
    static platform::FixedFontMetrics fixed;
    return fontMetrics_ ? *fontMetrics_ : fixed;
}

void Workbook::setPrinter(platform::PrinterDevice* printer) {
    printer_ = printer;
    printerDevMode_.reset();
    printerDevModeCached_ = false;
}

const std::optional<std::string>& Workbook::defaultPrinterDevMode() {
    if (!printer_ || printer_->printerNames().empty() || printer_->printerIndex() < 0)
        throw XlsError("No printer selected");
    if (!printerDevModeCached_) {
        printerDevMode_ = printer_->deviceSettings();
        printerDevModeCached_ = true;
    }
    return printerDevMode_;
}

bool Workbook::hasPrinterDevMode() {
    if (!printer_ || printer_->printerNames().empty() || printer_->printerIndex() < 0)
        return false;
    return defaultPrinterDevMode().has_value();
}

} // namespace xls
