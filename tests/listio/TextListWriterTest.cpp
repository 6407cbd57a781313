// Rewriting text lists in presort order: the fields each record gains, header lines, the
// records that were not placed, and that a failed or refused rewrite leaves the list as
// it was.

#include "listio/AsciiFields.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "listio/QuoteBytes.h"
#include "listio/SortInformationWriter.h"
#include "platform/fs/AtomicFile.h"
#include "tests/listio/ListTestSupport.h"
#include "tests/listio/WriterTestSupport.h"
#include "tests/support/SortTables.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillan;
using namespace quillan::test;
using platform::MessageButtons;
using platform::MessageKind;
using platform::ModalResult;

namespace {

const std::vector<std::string> commaList = {
    "Ann Lee,Dallas,TX,75201",  "Bo Diaz,Dallas,TX,75202", "\"Cy, Ross\",Springfield,MA,01234",
    "Dee Low,Nowhere,XX,ABCDE", "Ed Kay,Dallas,TX,75201",
};

// The line without the three fields a list without output fields gains.
std::string withoutGainedFields(const std::string& kind, const std::string& line) {
    static const std::regex tab("\t[0-9]{5}\t[0-9]{5}\t[^\t]*$");
    static const std::regex bar("[0-9]{5}\\|[0-9]{5}\\|[^|]*\\|$");
    static const std::regex comma(",\"[0-9]{5}\",\"[0-9]{5}\",\"[^\"]*\"$");
    const std::regex& gained = kind == KindTab ? tab : kind == KindBar ? bar : comma;
    std::smatch m;
    if (!std::regex_search(line, m, gained))
        return "<no gained fields> " + line;
    return line.substr(0, static_cast<size_t>(m.position(0)));
}

} // namespace

TEST(TextListWriter, CommaListGainsThreeQuotedFieldsInPresortOrder) {
    WriterFixture f;
    std::string path = f.write("list.txt", crlf(commaList));
    f.sortAndWrite(path);
    EXPECT_EQ(f.fileLines(path),
              (std::vector<std::string>{
                  "\"Cy, Ross\",Springfield,MA,01234,\"00001\",\"00001\",\"*******5-DIGIT 01234\"",
                  "Ann Lee,Dallas,TX,75201,\"00002\",\"00002\",\"*******5-DIGIT 75201\"",
                  "Ed Kay,Dallas,TX,75201,\"00002\",\"00002\",\"*******5-DIGIT 75201\"",
                  "Bo Diaz,Dallas,TX,75202,\"00003\",\"00003\",\"*******5-DIGIT 75202\"",
                  "Dee Low,Nowhere,XX,ABCDE,\"00000\",\"00000\",\"\"",
              }));
    ASSERT_EQ(f.ui().messages().size(), 1u);
    const auto& m = f.ui().messages()[0];
    EXPECT_EQ(m.kind, MessageKind::Information);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(m.text, "Quillan has sorted the file named \"list.txt\".");
    EXPECT_TRUE(f.env.shell.calls.empty());
}

TEST(TextListWriter, EveryLineOfEachKindComesBackOnce) {
    for (const char* name :
         {"golden-tab.txt", "golden-comma.txt", "golden-merge.txt", "golden-bar.txt"}) {
        WriterFixture f({}, "");
        std::string original =
            platform::readFileBytes(fixturePath(std::string("lists/") + name)).value();
        std::string path = f.write(name, original);
        f.sortAndWrite(path);
        const std::string kind = f.formatRead();
        std::vector<std::string> before = crlfLines(original), after = f.fileLines(path);
        if (formatNamed(kind)->headerLine) {
            EXPECT_EQ(after.front(),
                      before.front() + (kind == KindBar ? "tray|package|endorsement|"
                                                        : ",tray,package,endorsement"));
            before.erase(before.begin());
            after.erase(after.begin());
        }
        for (auto& line : after)
            line = withoutGainedFields(kind, line);
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, before) << name;
        EXPECT_GT(f.reading.mailing.counters.rejectedCount, 0) << name;
    }
}

TEST(TextListWriter, BarRecordsOfAPlacedAndARejectedPiece) {
    WriterFixture f;
    std::string path = f.write("bar.txt", crlf({"x|y|", "a|b|", "a|b|"}));
    f.reading.list.format = formatNamed(KindBar);
    f.reading.list.path = path;
    f.reading.list.state.headingLine = true;
    f.reading.list.state.listHeaderLine = "x|y|";
    f.reading.list.state.fieldCount = 2;
    WorkTables& t = f.reading.mailing.tables;
    t.pieces = {{.zip = 12345}, {.zip = 0, .rejection = ZipRejection::Form}};
    f.reading.list.lines = {"a|b|", "a|b|"};
    for (int g = 1; g <= 3; ++g)
        test::addSortGroup(t, false, g == 3, g == 3 ? "5D 12345" : "5D 00000", g == 3 ? 7 : 1);
    for (int c = 1; c <= 7; ++c)
        test::addContainer(t, 0, "", "None", "5-Digit");
    test::addZipGroup(t, 12345, 1, 0, 3);
    f.reading.mailing.counters = {.rejectedCount = 1};
    f.mailClass = *MailClass::fromCode("RNAF");
    test::writeSortInformation(f);
    EXPECT_EQ(f.fileLines(path), (std::vector<std::string>{"x|y|tray|package|endorsement|",
                                                           "a|b|00007|00003|*******5-DIGIT 12345|",
                                                           "a|b|00000|00000||"}));
}

TEST(TextListWriter, OutputFieldsAreFilledInPlaceAndExtraFieldsKept) {
    WriterFixture f;
    std::string path =
        f.write("merge.txt", crlf({"Name,ZIP,TRAY", "Ann,75201,", "Bo,75202,,extra", "Cy,12,old"}));
    f.sortAndWrite(path, "RAL");
    // The fields the list had keep their bytes; the values Quillan writes are quoted.
    EXPECT_EQ(f.fileLines(path), (std::vector<std::string>{
                                     "Name,ZIP,TRAY,package,endorsement",
                                     "Ann,75201,\"00001\",\"00001\",\"\"",
                                     "Bo,75202,\"00002\",extra,\"00002\",\"\"",
                                     "Cy,12,\"00000\",\"00000\",\"\"",
                                 }));
    // An automation class is offered the barcoding program; Yes starts it on the list.
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(f.ui().messages()[0].text,
              "Quillan has sorted the file named \"merge.txt\". If you have installed the "
              "program named \"Tarnwick\", you can now add barcodes to the file. Would you like "
              "to add barcodes?");
}

TEST(TextListWriter, BarcodingProgramStartsOnYesAndNeverUnattended) {
    {
        WriterFixture f;
        std::string path = f.write("list.txt", crlf(commaList));
        ASSERT_EQ(f.open(path), path);
        presortByZip(f.reading.mailing);
        f.mailClass = *MailClass::fromCode("RAF");
        f.ui().answerNextMessage(ModalResult::Yes);
        f.ui().chooseFile(f.env.folder() + "twk"); // not installed beside Quillan: found by hand
        test::writeSortInformation(f);
        ASSERT_EQ(f.env.shell.calls.size(), 1u);
        EXPECT_EQ(f.env.shell.calls[0].arguments, std::vector<std::string>{path});
    }
    WriterFixture f({"/will/be/replaced", "NOSTOP"});
    std::string path = f.write("list.txt", crlf(commaList));
    f.ctx().parameters[0] = path;
    f.sortAndWrite(path, "RAF");
    EXPECT_TRUE(f.ui().messages().empty());
    EXPECT_TRUE(f.env.shell.calls.empty());
    EXPECT_EQ(f.fileLines(path).size(), commaList.size());
}

namespace {

bool onlyFile(const std::string& folder, const std::string& name) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(name) != std::string::npos &&
            entry.path().filename() != name)
            return false; // a temporary file left behind
    return true;
}

} // namespace

TEST(TextListWriter, FailedWriteLeavesTheListByteForByte) {
    WriterFixture f;
    std::string original = crlf(commaList);
    std::string path = f.write("list.txt", original);
    {
        FileSizeLimit limit(original.size() + 20);
        f.sortAndWrite(path);
    }
    EXPECT_EQ(platform::readFileBytes(path), original);
    expectNotSavedOnly(f, "Quillan could not save the sorting information in the file "
                          "\"list.txt\". Your list has not been changed.");
    EXPECT_TRUE(onlyFile(f.env.folder(), "list.txt"));
}

TEST(TextListWriter, ListChangedSinceReadingIsLeftAlone) {
    WriterFixture f;
    std::string path = f.write("list.txt", crlf(commaList));
    ASSERT_EQ(f.open(path), path);
    presortByZip(f.reading.mailing);
    f.mailClass = *MailClass::fromCode("RNAF");
    std::string edited = crlf(commaList) + "Fay Ox,Dallas,TX,75201\r\n";
    f.write("list.txt", edited);
    f.ui().clearRecords();
    test::writeSortInformation(f);
    EXPECT_EQ(platform::readFileBytes(path), edited);
    expectNotSavedOnly(f, "no longer the one Quillan read");
}

namespace {

// A generated list whose fields hold what troubles a rewrite: quotes of every kind, commas,
// and in comma lists bars and tabs too, quoted as a spreadsheet would (a quote doubled).
struct GeneratedList {
    std::string kind;
    std::string bytes;
    int fields = 0;                              // per record
    std::vector<std::vector<std::string>> texts; // each record's fields as meant
};

std::string randomText(std::mt19937& rng, bool commaKind) {
    static const std::string plain = "ABCDEFGH elm st 0123";
    static const std::string tricky = std::string("\",\xD2\xD3") + "'";
    std::string text;
    int n = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) {
        switch (rng() % 6) {
        case 0:
            text += tricky[rng() % tricky.size()];
            break;
        case 1:
            if (commaKind)
                text += "\t|"[rng() % 2];
            break;
        default:
            text += plain[rng() % plain.size()];
        }
    }
    return text;
}

// Comma and merge lists split at commas outside quotes.
bool commaFields(const std::string& kind) {
    return formatNamed(kind)->fieldSplit == ListFormat::FieldSplit::Comma;
}

// A comma field as a person's program writes it: quoted when it must be, else either way.
std::string commaField(const std::string& text, std::mt19937& rng) {
    bool must = text.find_first_of(",\t|") != std::string::npos || isQuoteByte(text.front());
    return must || rng() % 2 ? quotedCommaField(text) : text;
}

GeneratedList generateList(const std::string& kind, unsigned seed) {
    std::mt19937 rng(seed);
    const bool comma = commaFields(kind);
    const char* zips[] = {"75201", "75202", "01234", "15001", "ABCDE", "7520"};
    GeneratedList list{kind, {}, 5, {}};
    auto line = [&](const std::vector<std::string>& encoded) {
        std::string out;
        for (size_t i = 0; i < encoded.size(); ++i)
            out += (i && kind != KindBar ? (kind == KindTab ? "\t" : ",") : "") + encoded[i] +
                   (kind == KindBar ? "|" : "");
        return out + "\r\n";
    };
    if (formatNamed(kind)->headerLine)
        list.bytes += line({"NAME", "ADDRESS", "ZIP", "NOTE", "CITY"});
    for (int r = 0; r < 60; ++r) {
        // The first records are plain, so that the kind and the ZIP field are found.
        std::vector<std::string> texts = {"N" + std::to_string(r), "A", zips[r < 3 ? 0 : rng() % 6],
                                          "X", "DALLAS"};
        if (r >= 3)
            for (int c : {0, 1, 3})
                texts[static_cast<size_t>(c)] += randomText(rng, comma);
        std::vector<std::string> encoded;
        for (const auto& t : texts)
            encoded.push_back(comma ? commaField(t, rng) : t);
        list.bytes += line(encoded);
        list.texts.push_back(texts);
    }
    return list;
}

// The first `count` fields of every record after the header, as the file holds them, in a
// stable order.
std::vector<std::string> rawPrefixes(const std::string& kind, const std::vector<std::string>& lines,
                                     int count) {
    std::vector<std::string> out;
    for (size_t i = formatNamed(kind)->headerLine ? 1 : 0; i < lines.size(); ++i) {
        std::vector<RawField> raw = rawFields(*formatNamed(kind), lines[i]);
        std::string prefix;
        for (int c = 0; c < count && c < static_cast<int>(raw.size()); ++c)
            prefix += std::string(raw[static_cast<size_t>(c)].bytes) + '\x01';
        out.push_back(prefix);
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

TEST(TextListWriter, SortingAgainAndAgainLeavesEveryFieldAsTheFirstSortWroteIt) {
    for (const char* kind : {KindComma, KindMerge, KindTab, KindBar}) {
        for (unsigned seed : {1u, 2u, 3u}) {
            GeneratedList list = generateList(kind, seed);
            WriterFixture f;
            std::string path = f.write("list.txt", list.bytes);
            std::vector<std::string> original = crlfLines(list.bytes);
            for (int sort = 1; sort <= 3; ++sort) {
                SCOPED_TRACE(std::string(kind) + ", seed " + std::to_string(seed) + ", sort " +
                             std::to_string(sort));
                f.sortAndWrite(path);
                ASSERT_EQ(f.formatRead(), kind);
                std::vector<std::string> lines = f.fileLines(path);
                ASSERT_EQ(lines.size(), original.size());
                // The fields the list came with are still there, byte for byte.
                EXPECT_EQ(rawPrefixes(kind, lines, list.fields),
                          rawPrefixes(kind, original, list.fields));
            }
            if (!commaFields(kind))
                continue;
            // Read back, the quoted fields give the texts they were written from.
            std::vector<std::vector<std::string>> read;
            std::vector<std::string> lines = f.fileLines(path);
            for (size_t i = formatNamed(kind)->headerLine ? 1 : 0; i < lines.size(); ++i) {
                std::vector<std::string> fields;
                SplitAsciiRecord(*formatNamed(kind), list.fields, lines[i], fields);
                read.push_back(fields);
            }
            std::sort(read.begin(), read.end());
            std::sort(list.texts.begin(), list.texts.end());
            EXPECT_EQ(read, list.texts) << kind << " " << seed;
        }
    }
}

TEST(TextListWriter, WrittenValuesAndUnclosedQuotesReadBackTheSame) {
    WriterFixture f;
    // An unclosed quote in the last field would swallow the fields written after it: that
    // one field is written afresh, quoted, and reads as before.
    std::string path = f.write(
        "m.txt", crlf({"NAME,ZIP,NOTE", "Ann,75201,\"open, never closed", "Bo,75202,\"x\"\"y\""}));
    f.sortAndWrite(path);
    f.sortAndWrite(path);
    std::vector<std::string> lines = f.fileLines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1],
              "Ann,75201,\"open, never closed\",\"00001\",\"00001\",\"*******5-DIGIT 75201\"");
    EXPECT_EQ(lines[2], "Bo,75202,\"x\"\"y\",\"00002\",\"00002\",\"*******5-DIGIT 75202\"");
}

TEST(TextListWriter, RewrittenListKeepsTheLineEndsItWasReadWith) {
    struct Case {
        std::string bytes;
        const char* end;
    };
    for (const Case& c : {Case{"NAME,ZIP\nAnn,75201\nBo,75202\n", "\n"},
                          Case{"NAME,ZIP\r\nAnn,75201\r\nBo,75202\r\n", "\r\n"},
                          Case{"NAME,ZIP\nAnn,75201\r\nBo,75202\r", "\n"},
                          Case{"NAME,ZIP\rAnn,75201\rBo,75202", "\r"}}) {
        WriterFixture f;
        std::string path = f.write("m.txt", c.bytes);
        f.sortAndWrite(path);
        std::string e = c.end;
        EXPECT_EQ(platform::readFileBytes(path),
                  "NAME,ZIP,tray,package,endorsement" + e +
                      "Ann,75201,\"00001\",\"00001\",\"*******5-DIGIT 75201\"" + e +
                      "Bo,75202,\"00002\",\"00002\",\"*******5-DIGIT 75202\"" + e)
            << c.bytes;
    }
}

TEST(TextListWriter, ListWithASecondNameIsSortedUnderBoth) {
    WriterFixture f;
    std::string path = f.write("list.txt", crlf(commaList));
    std::string other = f.env.folder() + "copy-of-list.txt";
    ASSERT_EQ(link(path.c_str(), other.c_str()), 0);
    chmod(path.c_str(), 0640);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    }
    f.sortAndWrite(path);
    EXPECT_EQ(f.fileLines(other).front(),
              "\"Cy, Ross\",Springfield,MA,01234,\"00001\",\"00001\",\"*******5-DIGIT 01234\"");
    EXPECT_EQ(platform::readFileBytes(other), platform::readFileBytes(path));
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_nlink, 2u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
    }
}

// A list without a heading names none of its fields, so a sort cannot find the ones the last
// sort wrote: each adds its fields after those the records have, only an endorsement line of
// flats is found again (by its "**") and written over, and the result says which fields the
// sort went into. A list with a heading is not told.
TEST(TextListWriter, ListWithoutAHeadingIsToldWhereEachSortWent) {
    struct Sort {
        const char* mailClass;
        const char* where;
        size_t fields; // of each record afterwards
        size_t tray;   // its field, from 0
    };
    const Sort sorts[] = {{"RML", "fields 4 to 6", 6, 3},
                          {"RNAF", "fields 7 to 9", 9, 6},
                          {"RML", "fields 10, 11 and 9", 11, 9}};
    for (const char* kind : {KindComma, KindTab}) {
        SCOPED_TRACE(kind);
        const std::string d = kind == std::string(KindComma) ? "," : "\t";
        WriterFixture f;
        std::string path = f.write("list.txt", crlf({"Ann Lee" + d + "Dallas" + d + "75201",
                                                     "Bo Diaz" + d + "Dallas" + d + "75202",
                                                     "Cy Ross" + d + "Dallas" + d + "75201"}));
        for (const Sort& sort : sorts) {
            SCOPED_TRACE(sort.where);
            ASSERT_EQ(f.open(path), path);
            presortByZip(f.reading.mailing);
            f.mailClass = *MailClass::fromCode(sort.mailClass);
            EXPECT_EQ(writeSortInformation(f).fieldsWritten, sort.where);
            for (const std::string& line : f.fileLines(path)) {
                std::vector<std::string> read;
                SplitAsciiRecord(*formatNamed(kind), static_cast<int>(sort.fields) + 1, line, read);
                const bool bo = line.substr(0, 2) == "Bo";
                EXPECT_EQ(read[2], bo ? "75202" : "75201") << line;
                EXPECT_EQ(read[sort.tray], bo ? "00002" : "00001") << line;
                EXPECT_EQ(read[sort.tray + 1], read[sort.tray]) << "the package, one a tray";
                EXPECT_EQ(read[sort.fields], "") << "nothing after the last field: " << line;
            }
        }
    }
    WriterFixture f;
    std::string path = f.write("list.txt", crlf({"NAME,ZIP", "Ann,75201"}));
    ASSERT_EQ(f.open(path), path);
    presortByZip(f.reading.mailing);
    EXPECT_EQ(writeSortInformation(f).fieldsWritten, "");
}
