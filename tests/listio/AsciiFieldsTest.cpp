// Kinds of text lists, counting and splitting their fields, and their line ends.

#include "listio/AsciiFields.h"
#include "listio/AsciiFormat.h"
#include "listio/FormatNames.h"
#include "listio/ListFormat.h"
#include "listio/TextLineReader.h"
#include "tests/listio/ListTestSupport.h"

#include <gtest/gtest.h>

using namespace quillan;
using namespace quillan::test;
using platform::MessageButtons;
using platform::MessageKind;

namespace {

const char* blankLines = "It looks like there are one or more blank lines at the beginning of "
                         "the file you are trying to sort.  Please remove any blank lines and "
                         "try again.";
const char* cannotRead = "Quillan cannot read this kind of file. See the Help file for "
                         "instructions on exporting your mailing list to an ascii file.";

std::string detect(ListFixture& f, const std::string& bytes) {
    const ListFormat* format = DetectAsciiFormat(f.ctx().notices(), f.write("list.txt", bytes));
    return format ? format->name : "";
}

int countFields(ListFixture& f, const char* kind, const std::string& name,
                const std::string& bytes) {
    return CountAsciiFields(f.ctx().notices(), *formatNamed(kind), f.write(name, bytes));
}

bool unknownFormatShown(const ListFixture& f) {
    auto texts = f.messageTexts();
    return !texts.empty() &&
           texts.back().rfind("Quillan cannot figure out the format of the file", 0) == 0;
}

const ListFormat& format(std::string_view name) {
    return *formatNamed(name);
}

std::vector<std::string> split(std::string_view kind, int n, std::string_view line) {
    std::vector<std::string> fields;
    SplitAsciiRecord(format(kind), n, line, fields);
    return fields;
}

} // namespace

TEST(ListKind, FirstLineDecidesTheKind) {
    ListFixture f;
    for (const char* zip : {"12345", "12345-6789", "12345 6789"})
        EXPECT_EQ(detect(f, std::string(zip) + "\r\n75201\r\n"), KindTab) << zip;
    EXPECT_EQ(detect(f, "NAME,ZIP\r\n"), KindMerge);
    EXPECT_EQ(detect(f, "name,zipcode\r\n"), KindMerge);
    EXPECT_EQ(detect(f, "a,b\r\n"), KindComma);
    EXPECT_EQ(detect(f, "\xD2Smith\xD3\r\n"), KindComma);
    EXPECT_EQ(detect(f, "a\tb,c\r\n"), KindTab);
    EXPECT_EQ(detect(f, "a|b\tc\r\n"), KindTab);
    EXPECT_EQ(detect(f, "NAME|ZIP|\r\n"), KindBar);
    // Tabs and bars inside a quoted comma field are its text; outside they separate.
    EXPECT_EQ(detect(f, "\"a\tb\",\"c|d\"\r\n"), KindComma);
    EXPECT_EQ(detect(f, "\"Smith\"\t\"x, y\"\r\n"), KindTab);
    EXPECT_EQ(detect(f, "5\" disk|\"a\r\n"), KindBar);
    EXPECT_TRUE(f.messageTexts().empty());

    EXPECT_EQ(detect(f, "12345A\r\n"), "");
    ASSERT_TRUE(unknownFormatShown(f));
    const auto& box = f.ui().messages().back();
    EXPECT_EQ(box.kind, MessageKind::Warning);
    EXPECT_NE(box.text.find("send a copy of the file to support@"), std::string::npos);
    EXPECT_EQ(box.text.substr(box.text.size() - 10), " for help.");
}

TEST(ListKind, BlankFirstLineGivesBothWarningsInOrder) {
    ListFixture f;
    EXPECT_EQ(detect(f, "\r\n12345\r\n"), "");
    auto texts = f.messageTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], blankLines);
    EXPECT_TRUE(unknownFormatShown(f));
    EXPECT_EQ(f.ui().beeps().size(), 2u);
}

TEST(ListKind, BinaryAndWideFirstLinesAreOfNoKind) {
    ListFixture f;
    // UTF-16 "ZIP,NAME" and a zipped workbook's local header.
    EXPECT_EQ(detect(f, std::string("\xFF\xFEZ\0I\0P\0,\0", 10)), "");
    EXPECT_TRUE(unknownFormatShown(f));
    EXPECT_EQ(detect(f, std::string("PK\3\4\24\0\6\0,", 9)), "");
    // A first line over the line limit: no blank-line warning, one refusal naming the file
    // and the line.
    f.ui().clearRecords();
    EXPECT_EQ(detect(f, std::string(TextLineReader::MaxLineBytes + 10, '1')), "");
    ASSERT_EQ(f.messageTexts().size(), 1u);
    EXPECT_EQ(f.messageTexts()[0], "Quillan cannot read list.txt. Line 1 of the file is longer "
                                   "than 1,048,576 bytes, more than Quillan reads as one line.");
}

TEST(ListKind, ByteOrderMarkIsIgnored) {
    ListFixture f;
    EXPECT_EQ(detect(f, "\xEF\xBB\xBF"
                        "75201\r\n"),
              KindTab);
}

TEST(fieldCount, BarListsCountFieldsFollowedByABar) {
    ListFixture f;
    EXPECT_EQ(countFields(f, KindBar, "b.txt", "a|b|c|\r\n1|2|3|\r\n"), 3);
    EXPECT_EQ(countFields(f, KindBar, "b.txt", "a|b|c|\r\n1|2|3\r\n"), 0);
    ASSERT_EQ(f.ui().messages().size(), 1u);
    EXPECT_EQ(f.ui().messages()[0].text, cannotRead);
    EXPECT_EQ(f.ui().messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(f.ui().messages()[0].buttons, MessageButtons::Cancel);
    // A list of one line: the missing line 2 has no field in a bar list.
    EXPECT_EQ(countFields(f, KindBar, "b.txt", "a|\r\n"), 0);
}

TEST(fieldCount, CommaListsCountCommasOutsideQuotes) {
    ListFixture f;
    EXPECT_EQ(countFields(f, KindMerge, "m.txt", "NAME,CITY,ZIP\r\n\"Doe, J\",Waco,76701\r\n"), 3);
    EXPECT_EQ(countFields(f, KindTab, "t.txt", "75201\r\n"), 1);
}

TEST(FieldSplit, CommaKinds) {
    auto fields = split(KindComma, 5, "\"Smith, John\",Dallas,,TX");
    EXPECT_EQ(fields, (std::vector<std::string>{"Smith, John", "Dallas", "", "TX", ""}));
    // Curly and straight quotes pair in any order; blanks stay.
    EXPECT_EQ(split(KindMerge, 2,
                    "\xD2"
                    "a,b\",c "),
              (std::vector<std::string>{"a,b", "c "}));
    EXPECT_EQ(split(KindMerge, 2, "\"a,b\xD3,c"), (std::vector<std::string>{"a,b", "c"}));
    // An unclosed quote takes the rest of the line; later fields stay empty.
    EXPECT_EQ(split(KindComma, 3, "x,\"open, never closed"),
              (std::vector<std::string>{"x", "open, never closed", ""}));
    // Text between a closing quote and the comma is kept, not taken as the comma.
    EXPECT_EQ(split(KindComma, 2, "\"ab\"c,d"), (std::vector<std::string>{"abc", "d"}));
    // Inside quotes a quote character followed by a straight quote is that character.
    EXPECT_EQ(split(KindComma, 3, "\"1 ELM ST APT \"\"B\"\"\",\"a\xD2\"\",\"\"\"\""),
              (std::vector<std::string>{"1 ELM ST APT \"B\"", "a\xD2", "\""}));
    EXPECT_EQ(fieldCount(format(KindComma), "\"a \"\"b\"\", c\",x"), 2);
    EXPECT_EQ(split("dBase", 2, "a,b"), (std::vector<std::string>{"", ""}));
}

TEST(FieldSplit, TabAndBarKinds) {
    EXPECT_EQ(split(KindTab, 4, "\"Smith\"\t\"x\ty\"\t\""),
              (std::vector<std::string>{"Smith", "\"x", "y\"", ""}));
    EXPECT_EQ(split(KindBar, 3, "a||c|extra|"), (std::vector<std::string>{"a", "", "c"}));
    EXPECT_EQ(split(KindTab, 2, "a|b"), (std::vector<std::string>{"a", "b"}));
}

TEST(FieldSplit, SplittingGivesExactlyTheFieldsCounted) {
    const char* lines[] = {"\"ab\"c,d", "\"a,b", "a,\"b\"\"c\",d", ",,", "x\xD2y,z|q", "\"\",\"|"};
    for (const char* kind : {KindComma, KindTab, KindBar})
        for (const char* line : lines) {
            int n = fieldCount(format(kind), line);
            std::vector<std::string> fields;
            SplitAsciiRecord(format(kind), 50, line, fields);
            for (size_t i = static_cast<size_t>(n); i < fields.size(); ++i)
                EXPECT_TRUE(fields[i].empty() || (kind == KindBar && i == static_cast<size_t>(n)))
                    << kind << ": " << line << " field " << i;
        }
}

TEST(TextLines, CrLfLfAndCrGiveTheSameLines) {
    ListFixture f;
    std::vector<std::vector<std::string>> results;
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string bytes =
            std::string("NAME,ZIP") + end + "\"A\",75201" + end + end + "B,7" + end + "C,1";
        TextLineReader reader(f.write("e.txt", bytes));
        std::vector<std::string> lines;
        std::string line;
        while (reader.next(line) == TextLineReader::Status::Line)
            lines.push_back(line);
        results.push_back(lines);
    }
    EXPECT_EQ(results[0], (std::vector<std::string>{"NAME,ZIP", "\"A\",75201", "", "B,7", "C,1"}));
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[2], results[0]);
}
