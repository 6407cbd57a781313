#include "listio/AsciiFormat.h"

#include "core/Convert.h"
#include "listio/AsciiFields.h"
#include "listio/ListKinds.h"
#include "listio/TextLineReader.h"

namespace quillan {

using namespace platform;

void showUnknownFormat(AppContext& ctx) {
    ctx.message(BeepKind::Hand, MessageKind::Warning, MessageButtons::Ok,
                std::string("Quillan cannot figure out the format of the of the file you are "
                            "trying to sort.  Please make sure it is a type that Quillan can "
                            "read, or send a copy of the file to ") +
                    SupportAddress + " for help.");
}

static std::string kindOfFirstLine(const std::string& line) {
    if (line.find('\0') != std::string::npos)
        return {};
    if (line.find('\t') != std::string::npos)
        return KindTab;
    if (line.find('|') != std::string::npos)
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

std::string DetectAsciiFormat(AppContext& ctx, const std::string& path) {
    std::string line;
    std::string kind;
    {
        TextLineReader reader(path);
        auto status = reader.next(line);
        if (status != TextLineReader::Status::TooLong) {
            if (line.empty())
                ctx.message(BeepKind::Hand, MessageKind::Warning, MessageButtons::Ok,
                            "It looks like there are one or more blank lines at the beginning "
                            "of the file you are trying to sort.  Please remove any blank "
                            "lines and try again.");
            kind = kindOfFirstLine(line);
        }
    }
    if (kind.empty())
        showUnknownFormat(ctx);
    return kind;
}

int CountAsciiFields(AppContext& ctx, const std::string& path) {
    std::string first, second;
    {
        TextLineReader reader(path);
        if (reader.next(first) == TextLineReader::Status::TooLong ||
            reader.next(second) == TextLineReader::Status::TooLong) {
            showUnknownFormat(ctx);
            return 0;
        }
    }
    int count = fieldCount(ctx.listFileKind, first);
    if (fieldCount(ctx.listFileKind, second) != count || count == 0) {
        ctx.message(BeepKind::Hand, MessageKind::Error, MessageButtons::Cancel,
                    "Quillan cannot read this kind of file. See the Help file for instructions "
                    "on exporting your mailing list to an ascii file.");
        return 0;
    }
    return count;
}

} // namespace quillan
