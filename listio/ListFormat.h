#pragma once

#include "listio/ListSource.h"
#include "platform/prompts/FileFilter.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillan {

class ListWriter;
struct ListOpening;

// A list file once its format has counted it: its records and fields, and the source that
// reads them. No records when the list was refused or nothing was chosen (the person has
// been told why, or has cancelled).
struct OpenedList {
    long records = 0;
    int fields = 0;
    std::unique_ptr<ListSource> source;
};

// The checks the fields chosen for the sort information must pass in a list of this
// format, beyond the ones every list passes.
enum class OutputFieldCheck { None, DbaseWidthsAndTypes, AccessFieldTypes };

// One kind of mailing list the program reads and writes back: how it is recognised and
// offered in the open dialog, how it is read, and what the reading and the writing need
// to know of it. Every format is a row of listFormats(); code that treats lists alike asks
// the format, never its name.
struct ListFormat {
    // Shown as the list's format by the field dialog; the sort information writer names
    // the list's kind by it too.
    const char* name = nullptr;
    // The extensions (".DBF") that tell the format; none for the text formats, which the
    // first line tells.
    std::vector<std::string> extensions = {};
    // The open dialog's entry for the format, if it has one of its own.
    std::optional<platform::FileFilter> filter = {};
    // A text list: each record a line, split into fields by the format's rules below
    // (listio/AsciiFields.h).
    bool text = false;
    // Where a text list's line splits into fields: at every tab or bar (tab and bar lists
    // take either), or at the commas outside quoted fields (comma and merge lists).
    enum class FieldSplit { None, TabOrBar, Comma };
    FieldSplit fieldSplit = FieldSplit::None;
    // The character the writer puts between the fields of a text record.
    char delimiter = 0;
    // Every field, the last included, is followed by the delimiter (bar lists): the text
    // after the last one is no field of its own.
    bool closingDelimiter = false;
    // The first line names the fields and is no record.
    bool headerLine = false;
    // The field dialog begins at the first record, not at the field names.
    bool firstRowIsRecord = false;
    // The field roles are found and confirmed; false where the format fixes them.
    bool identifiesFields = true;
    // Read to the table's end, however many records it held when counted.
    bool readsToEnd = false;
    // Fields padded to their widths and upper-cased, records marked deleted (dBase).
    bool paddedRecords = false;
    // The sort makes the records of a test file from the sorted pieces.
    bool keepsPresortRecords = false;
    OutputFieldCheck outputFieldCheck = OutputFieldCheck::None;
    // What of the file the table chooser offers when it holds several ("table", "sheet").
    const char* partName = nullptr;

    // Counts the list's records and fields and opens its source. Throws the reading
    // library's error when the file cannot be read.
    OpenedList (*open)(ListOpening& opening, const std::string& path) = nullptr;
    // A source over the list file again, for the field dialog's record viewer; nothing for
    // a format whose source is no file of its own.
    std::unique_ptr<ListSource> (*reopen)(const ListFormat& format, const std::string& path,
                                          int fieldCount) = nullptr;
    // The writer that puts the sort information back into a list of this format.
    std::unique_ptr<ListWriter> (*writer)() = nullptr;
};

// Every format, in the order of the open dialog's filters.
const std::vector<ListFormat>& listFormats();
// The format of that name, or nothing.
const ListFormat* formatNamed(std::string_view name);
// The format the file's extension tells, or nothing when its content must decide.
const ListFormat* formatForExtension(const std::string& path);
// The open dialog's filters: all files, then each format that has one.
std::vector<platform::FileFilter> mailingListFilters();

} // namespace quillan
