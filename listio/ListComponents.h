#pragma once

#include "core/AppContext.h"

#include <memory>

namespace accessdb {
class TComponent;
class TtaTable;
} // namespace accessdb

namespace xls {
class Workbook;
}

namespace quillan {

// The components through which Excel and Access lists are read and written back: the
// workbook, which holds an Excel list from its reading to its write-back, and the table
// component of Access lists. Made the first time a list needs them, they stay in the
// application context for the rest of the run.
class ListComponents {
public:
    explicit ListComponents(AppContext& ctx);
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

// The context's components, made on first use.
ListComponents& listComponents(AppContext& ctx);

} // namespace quillan
