#pragma once

#include <array>
#include <cstdint>
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

// The mailing list being read: where its fields are, and what the writer needs again after
// the sort. Reset at every open of a list.
struct ListState {
    // Field roles: 0-based field index, -1 for none.
    int ZipColumn = -1;
    int Zip5Column = -1;
    int Zip4Column = -1;
    int CityColumn = -1;
    int StateColumn = -1;
    int CityStateColumn = -1;
    int SortColumn = -1;
    int TrayColumn = -1;
    int PackageColumn = -1;
    int EndorsementColumn = -1;
    int CountyColumn = -1;

    // Width and type byte of each dBase field, in descriptor order (index c for field c).
    std::vector<int> DbfFieldWidths;
    std::vector<char> DbfFieldTypes;
    DbfLayout Dbf;

    // Fields per record of a text list, as counted when it was opened.
    int FieldCount = 0;

    // Line 1 of a list with a header line, kept for rewriting the list.
    std::string ListHeaderLine;
    // The worksheet chosen for an Excel list.
    std::string SelectedTableName;
    int SelectedSheetIndex = 0;
    // dBase records marked deleted in the last read.
    int32_t DeletedRecordCount = 0;

    void resetRoles() {
        ZipColumn = Zip5Column = Zip4Column = CityColumn = StateColumn = CityStateColumn = -1;
        SortColumn = TrayColumn = PackageColumn = EndorsementColumn = CountyColumn = -1;
    }
};

} // namespace quillan
