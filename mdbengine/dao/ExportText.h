#pragma once

// Values as text the way mdbtools' mdb-export writes them with an explicit date format and
// binary data stripped, so that our reading can be compared with it byte for byte (both write
// UTF-8): texts, memos and dates in double quotes with quotes doubled (an empty text, like
// Null, as nothing: mdb-export does not tell them apart), binary values as "", numbers bare,
// currency with four decimals, Double with sixteen significant digits and Single with eight.
// Dates are written "YYYY-MM-DD hh:mm:ss" as mdbtools converts them: dates before 30 December
// 1899 or from 31 December 9999 on as "1900-01-00 00:00:00", a time that rounds up to
// midnight as "24:00:00".

#include "mdbengine/values/Status.h"
#include "mdbengine/values/Variant.h"

#include <functional>
#include <string>
#include <string_view>

namespace mdbengine {

class Database;
class Recordset;

// Null gives "".
std::string exportText(const Variant& value);
void appendExportText(const Variant& value, std::string& out);

// Takes the text in pieces as it is made; false stops the export.
using ExportSink = std::function<bool(std::string_view)>;

// The table as mdb-export writes it: a line of column names, then a line of values for
// each record, in the table's page order.
Status exportTable(const Database& database, const std::string& table, std::string& out);
// The same for the records of an open recordset, from where it stands, handed to `sink` in
// pieces of some tens of kilobytes.
Status exportRecords(Recordset& recordset, const ExportSink& sink);

} // namespace mdbengine
