#pragma once

#include "listio/FieldRoles.h"
#include "platform/fs/RegularFile.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillan {

// The shape of a dBase table as it was read; the writer checks the file against it before
// patching, so that a table changed since the sort is never written into blindly.
struct DbfLayout {
    int headerLength = 0;
    int recordLength = 0;
    uint32_t statedRecords = 0;
    long records = 0; // the records read, deleted ones included
    long long fileSize = 0;
};

// What a list file was when it was read: a workbook, database or dBase table held in memory,
// or walked again by position, is never written over a file that changed since.
using FileStamp = platform::FileStamp;

// One field of an Access table, as the checks of the output fields need it.
struct AccessField {
    std::string name;
    int type = 0; // the table component's data type code
    int size = 0; // the characters a text field holds
    bool readOnly = false;
    // The largest whole number a Byte, Integer or Decimal field holds (Byte 255, Decimal(5, 2)
    // 999); none for fields that hold any the mailing has.
    std::optional<long long> largestNumber = std::nullopt;
    // The relationship Access enforces that ties the field to another table, as a person
    // reads it; empty for none. Numbers of the sort would break it.
    std::string relationship = {};
};

// The mailing list being read: where its fields are, and what the writer needs again after
// the sort. Reset at every open of a list.
struct ListState : FieldRoles {
    // Width and type byte of each dBase field, in descriptor order (index c for field c).
    std::vector<int> dbfFieldWidths;
    std::vector<char> dbfFieldTypes;
    DbfLayout dbf;

    // Fields per record of a text list, as counted when it was opened.
    int fieldCount = 0;

    // The first line of a text list names the fields and is no record: the header line of
    // a merge or bar list, or a tab list's heading line. Kept for rewriting the list, which
    // begins with it. A PAVE list's test file begins with the start of its first line.
    bool headingLine = false;
    std::string listHeaderLine;
    // The lines after the last record of a text list that hold nothing but blanks: they are
    // no records, and the rewritten list ends with them as the list did.
    std::vector<std::string> trailingBlankLines;
    // How the first line of a text list ends; the rewritten list ends its lines the same way.
    std::string lineEnd = "\r\n";
    // The worksheet chosen for an Excel list.
    std::string selectedTableName;
    int selectedSheetIndex = 0;
    // The table chosen for an Access list, and its fields in field order.
    std::string accessTableName;
    std::vector<AccessField> accessFields;
    // The Excel or Access list file as it was when read.
    FileStamp listStamp;
    // dBase records marked deleted in the last read.
    int32_t deletedRecordCount = 0;

    FieldRoles& roles() { return *this; }
    const FieldRoles& roles() const { return *this; }
};

} // namespace quillan
