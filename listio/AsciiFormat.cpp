#include "listio/AsciiFormat.h"

#include "core/Convert.h"
#include "listio/AsciiFields.h"
#include "listio/FormatNames.h"
#include "listio/ListFileError.h"
#include "listio/ListFormat.h"
#include "listio/QuoteBytes.h"
#include "listio/TextLineReader.h"
#include "listio/TextRecordReader.h"

#include <algorithm>
#include <cstdio>

namespace quillan {

using namespace platform;

static std::string kindOfFirstLine(const std::string& line) {
    if (line.find('\0') != std::string::npos)
        return {};
    // A tab or bar inside a quoted comma field is text: a comma list sorted before may begin
    // with such a record.
    const std::string separators = separatorsOutsideQuotes(line);
    if (separators.find('\t') != std::string::npos)
        return KindTab;
    if (separators.find('|') != std::string::npos)
        return KindBar;
    bool commaOrQuote = false;
    for (char c : line)
        commaOrQuote = commaOrQuote || c == ',' || isQuoteByte(c);
    if (commaOrQuote)
        return upperAscii(line).find("ZIP") != std::string::npos ? KindMerge : KindComma;
    std::string kind;
    for (char c : line) {
        if (!((c >= '0' && c <= '9') || c == '-' || c == ' '))
            return {};
        kind = KindTab;
    }
    return kind;
}

std::string LineTooLongReason(long line) {
    return "Line " + std::to_string(line) +
           " of the file is longer than 1,048,576 bytes, more than Quillan reads as one line.";
}

// What a file of no text kind holds, when its first bytes tell: the reason added to the
// unknown-format warning.
static std::string whatTheFileHolds(const std::string& path) {
    std::string head(512, '\0');
    {
        std::FILE* file = openListFile(path);
        head.resize(std::fread(head.data(), 1, head.size(), file));
        std::fclose(file);
    }
    auto startsWith = [&](std::string_view magic) { return head.rfind(magic, 0) == 0; };
    if (startsWith("PK\x03\x04"))
        return "The file is a zip archive (an Excel 2007 or later workbook is one). Please "
               "save the mailing list as a comma-delimited text file and sort that.";
    // Latin text in UTF-16 has a zero byte in every pair, on the same side.
    size_t pairs = head.size() / 2, littleEndian = 0, bigEndian = 0;
    for (size_t i = 0; i < pairs; ++i) {
        const bool lowZero = head[2 * i] == '\0', highZero = head[2 * i + 1] == '\0';
        littleEndian += !lowZero && highZero;
        bigEndian += lowZero && !highZero;
    }
    const bool mostly = pairs >= 4 && std::max(littleEndian, bigEndian) * 10 >= pairs * 9;
    if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF") || mostly)
        return "The file holds UTF-16 (Unicode) text. Please save the mailing list as plain "
               "(ANSI) text and sort that.";
    return {};
}

const ListFormat* DetectAsciiFormat(Notices& notices, const std::string& path) {
    std::string line;
    std::string kind;
    bool tooLong = false;
    {
        TextLineReader reader(path);
        tooLong = reader.next(line) == TextLineReader::Status::TooLong;
        if (!tooLong) {
            if (line.empty())
                notices.tell({BeepKind::Hand, MessageKind::Warning, MessageButtons::Ok,
                              "It looks like there are one or more blank lines at the beginning "
                              "of the file you are trying to sort.  Please remove any blank "
                              "lines and try again."});
            kind = kindOfFirstLine(line);
        }
    }
    if (!kind.empty())
        return formatNamed(kind);
    // A first line too long to read is named, unless the file is of a kind its first bytes
    // tell (a zip archive has no lines).
    const std::string holds = whatTheFileHolds(path);
    if (tooLong && holds.empty())
        refuseUnreadableList(notices, path, LineTooLongReason(1));
    else
        showUnknownFormat(notices, holds);
    return nullptr;
}

int CountAsciiFields(Notices& notices, const ListFormat& format, const std::string& path) {
    // The first two records, not lines: a record may run over its quoted line breaks.
    std::string first, second;
    TextRecordReader::Status secondStatus;
    {
        TextRecordReader reader(path, format);
        if (reader.next(first) == TextRecordReader::Status::TooLong) {
            refuseUnreadableList(notices, path, reader.problem());
            return 0;
        }
        secondStatus = reader.next(second);
        if (secondStatus == TextRecordReader::Status::TooLong) {
            refuseUnreadableList(notices, path, reader.problem());
            return 0;
        }
    }
    int count = fieldCount(format, first);
    // A list of one line has no second line to agree with: a header with nothing under it,
    // or a line that cannot be told from one (a lone ZIP code still counts as a record).
    const bool oneLine = secondStatus == TextRecordReader::Status::End;
    if (oneLine && (format.headerLine || count != fieldCount(format, ""))) {
        ShowNoRecords(notices, path,
                      format.headerLine
                          ? "The file holds only its first line, the one naming the fields."
                          : "The file holds only one line, which Quillan cannot tell from a "
                            "line naming the fields.");
        return 0;
    }
    if (fieldCount(format, second) != count || count == 0) {
        refuseList(notices, "Quillan cannot read this kind of file. See the Help file for "
                            "instructions on exporting your mailing list to an ascii file.");
        return 0;
    }
    return count;
}

} // namespace quillan
