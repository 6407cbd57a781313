#pragma once

#include <memory>

namespace accessdb {
class TComponent;
class TtaTable;
} // namespace accessdb

namespace xls {
class Workbook;
}

namespace quillan {

class Notices;

// The components through which Excel and Access lists are read and written back: the
// workbook, which holds an Excel list from its reading to its write-back, and the table
// component of Access lists. The program makes them the first time a list needs them, and
// keeps them for the rest of the run.
class ListComponents {
public:
    // The workbook library's messages are shown to the person through `notices`, which
    // outlive the components.
    explicit ListComponents(Notices& notices);
    // Closes the table and lets the Access engine go.
    ~ListComponents();
    ListComponents(const ListComponents&) = delete;
    ListComponents& operator=(const ListComponents&) = delete;

    xls::Workbook& workbook() { return *workbook_; }
    accessdb::TtaTable& table() { return *table_; }

    // Closes the table without raising: for paths that are already failing or done.
    void closeTableQuietly();

private:
    std::unique_ptr<xls::Workbook> workbook_;
    std::unique_ptr<accessdb::TComponent> owner_;
    accessdb::TtaTable* table_; // owned by owner_
};

} // namespace quillan
