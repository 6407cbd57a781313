#pragma once

#include "core/Mailing.h"
#include "core/Notices.h"
#include "core/ProgressSink.h"
#include "core/settings/SettingsLists.h"
#include "listio/FieldChooser.h"
#include "listio/ListState.h"
#include "listio/TableChooser.h"

#include <functional>
#include <string>
#include <vector>

namespace quillan {

class ListComponents;
struct ListFormat;

// Who reads the list: a person, the partner program ("DUZIZ") or an unattended run
// ("NOSTOP"). Neither of the last two confirms the field roles; only an unattended run
// refuses what it would otherwise ask about.
enum class ListReader { Person, Partner, Unattended };

// The list a command reads, and how.
struct ListRequest {
    std::string path;
    ListReader reader = ListReader::Person;
    // The table or sheet named on the command line for the partner program or an
    // unattended run, or "".
    std::string tableName;
    // The workbook and the table component that read Excel and Access lists, and hold them
    // for the write-back; made by the program on first use.
    std::function<ListComponents&()> components;
};

// Whom the reading tells, asks and shows how far it has come.
struct ListPeople {
    Notices& notices;
    FieldChooser& fields;
    TableChooser& tables;
    ProgressSink& progress;
};

// The list as it was read: what the sort information writer needs to write it back.
struct ReadList {
    std::string path;
    // Nothing when the file's format could not be told.
    const ListFormat* format = nullptr;
    ListState state;
    // The request's components for an Excel or Access list: the write-back goes through
    // the workbook or table component the list was read through.
    ListComponents* components = nullptr;
    // The text line of every record, by its index in the mailing, for the text and PAVE
    // lists that are rewritten from them; empty for the other kinds.
    std::vector<std::string> lines;

    // The text line of a record; empty when none was kept.
    const std::string& lineOf(size_t record) const {
        static const std::string none;
        return record < lines.size() ? lines[record] : none;
    }
};

// Read: the mailing holds the list's records. Refused: the person has been told why
// nothing was read. Cancelled: the person cancelled the choice of a table or of the fields.
enum class ReadOutcome { Read, Refused, Cancelled };

struct ListReading {
    ReadOutcome outcome = ReadOutcome::Refused;
    ReadList list;
    // The pieces read and the reading counters; no groups or containers yet.
    Mailing mailing;
    // The person chose not to claim in-county rates for a mailing that appears not to
    // qualify: the caller turns them off for this sort.
    bool inCountyDeclined = false;
};

// Decides the list's format, counts its records and fields (the table chooser picks the
// table or sheet of a file that has several), has its fields identified (the field chooser
// confirms them) and reads its records into the mailing.
ListReading ReadMailingList(const ListRequest& request, const SettingsLists& settings,
                            ListPeople& people);

// The reading under way, as its steps share it.
struct ListOpening {
    const ListRequest& request;
    const SettingsLists& settings;
    ListPeople& people;
    ListReading& reading;

    const ListFormat& format() const { return *reading.list.format; }
    ListState& state() { return reading.list.state; }
    Mailing& mailing() { return reading.mailing; }
    Notices& notices() { return people.notices; }
    void cancel() { reading.outcome = ReadOutcome::Cancelled; }
};

} // namespace quillan
