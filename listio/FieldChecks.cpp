#include "listio/FieldChecks.h"

#include "accessdb/classlib/TField.h"
#include "listio/ListFormat.h"

#include <optional>

namespace quillan {

bool inCountyRates(const SettingsLists& settings) {
    return settings.mailTypeList.isPeriodicals() && settings.periodicalList.inCountyRates();
}

namespace {

struct OutputField {
    int FieldRoles::*column;
    int minWidth;
    bool numberAllowed;
    const char* what;                  // as the messages name the field
    long long OutputNumbers::*largest; // the largest number the mailing writes, if a number
};

const OutputField outputFields[] = {
    {&FieldRoles::sortColumn, 6, true, "the sorting information", &OutputNumbers::sequence},
    {&FieldRoles::trayColumn, 5, true, "the tray/sack number", &OutputNumbers::tray},
    {&FieldRoles::packageColumn, 5, true, "package number", &OutputNumbers::package},
    {&FieldRoles::endorsementColumn, 20, false, "the endorsement line (OEL)", nullptr},
};

int widthOf(const ListState& s, int column) {
    return column >= 0 && column < static_cast<int>(s.dbfFieldWidths.size())
               ? s.dbfFieldWidths[column]
               : 0;
}

char typeOf(const ListState& s, int column) {
    return column >= 0 && column < static_cast<int>(s.dbfFieldTypes.size())
               ? s.dbfFieldTypes[column]
               : 'C';
}

std::optional<std::string> widthProblem(const ListState& s, const OutputField& f) {
    int column = s.*f.column;
    if (column == -1 || widthOf(s, column) >= f.minWidth)
        return std::nullopt;
    return std::string("The field you chose for ") + f.what +
           " is too short. It must be able to hold at least " + std::to_string(f.minWidth) +
           " characters.";
}

// Numbers are written as ASCII digits, which a numeric field holds whether it is of type N
// or F; a result written into a field of another type would be refused or changed.
bool typeTakes(char type, const OutputField& f) {
    return type == 'C' || (f.numberAllowed && (type == 'N' || type == 'F'));
}

std::optional<std::string> typeProblem(const ListState& s, const OutputField& f) {
    int column = s.*f.column;
    if (column == -1 || typeTakes(typeOf(s, column), f))
        return std::nullopt;
    return std::string("The field you chose for ") + f.what + " must be a " +
           (f.numberAllowed ? "character (type C) or numeric (type N or F)"
                            : "character (type C)") +
           " field.";
}

// An Access table takes the numbers in Text fields, as the dBase character fields, and in
// Number fields of every size (Byte, Integer, Long Integer, Single, Double, Decimal) and
// Currency fields, indexed or not (the engine keeps the indexes); the endorsement line in
// Text and Memo fields. A field the table numbers itself takes nothing. All this is known
// before the first record is changed; whether an Integer, Byte or Decimal field holds the
// mailing's numbers is known once it is sorted (accessNumbersProblem).
bool accessTypeTakes(accessdb::TFieldType type, const OutputField& f) {
    using accessdb::TFieldType;
    if (type == TFieldType::String)
        return true;
    if (!f.numberAllowed)
        return type == TFieldType::Memo;
    return type == TFieldType::Smallint || type == TFieldType::Integer ||
           type == TFieldType::AutoInc || type == TFieldType::Float ||
           type == TFieldType::Currency || type == TFieldType::BCD;
}

const AccessField* accessFieldOf(const ListState& s, const OutputField& f) {
    int column = s.*f.column;
    if (column < 0 || column >= static_cast<int>(s.accessFields.size()))
        return nullptr;
    return &s.accessFields[static_cast<size_t>(column)];
}

std::optional<std::string> accessProblem(const ListState& s, const OutputField& f) {
    const AccessField* field = accessFieldOf(s, f);
    if (field == nullptr)
        return std::nullopt;
    const std::string chosen = std::string("The field you chose for ") + f.what;
    const auto type = static_cast<accessdb::TFieldType>(field->type);
    if (!accessTypeTakes(type, f))
        return chosen + " must be a " +
               (f.numberAllowed ? "Text, Number or Currency field." : "Text or Memo field.");
    if (field->readOnly)
        return chosen + " (\"" + field->name +
               "\") cannot be changed: the table numbers it itself. Please choose another field.";
    if (!field->relationship.empty())
        return chosen + " (\"" + field->name + "\") is tied to another table by the relationship " +
               field->relationship +
               ", which Access enforces: the sorting information would break it. Please choose "
               "another field.";
    if (type == accessdb::TFieldType::String && field->size < f.minWidth)
        return chosen + " is too short. It must be able to hold at least " +
               std::to_string(f.minWidth) + " characters.";
    return std::nullopt;
}

// Writing the results into a field the list needs would destroy its addresses.
std::optional<std::string> overlapProblem(const ListState& s, const OutputField& f) {
    int column = s.*f.column;
    if (column == -1)
        return std::nullopt;
    for (int input : {s.zipColumn, s.zip5Column, s.zip4Column, s.cityColumn, s.stateColumn,
                      s.cityStateColumn, s.countyColumn})
        if (input == column)
            return std::string("The field you chose for ") + f.what +
                   " already holds the zip code, city, state or county. Please choose "
                   "another field.";
    return std::nullopt;
}

std::optional<std::string> outputProblem(const ListState& s, const SettingsLists& settings,
                                         const ListFormat& format) {
    if (!settings.prefsList.writesIntoList())
        return std::nullopt;
    if (!format.text && s.sortColumn == -1)
        return "Quillan cannot proceed until you tell it in which field to put the sorting "
               "sequence number.";
    if (format.outputFieldCheck == OutputFieldCheck::DbaseWidthsAndTypes) {
        for (const auto& f : outputFields)
            if (auto problem = widthProblem(s, f))
                return problem;
        for (const auto& f : outputFields)
            if (auto problem = typeProblem(s, f))
                return problem;
    }
    if (format.outputFieldCheck == OutputFieldCheck::AccessFieldTypes)
        for (const auto& f : outputFields)
            if (auto problem = accessProblem(s, f))
                return problem;
    for (const auto& f : outputFields)
        if (auto problem = overlapProblem(s, f))
            return problem;
    return std::nullopt;
}

} // namespace

std::vector<std::string> checkFieldRoles(const ListState& s, const SettingsLists& settings,
                                         const ListFormat& format) {
    std::vector<std::string> problems;
    if (s.zipColumn == -1 && (s.zip5Column == -1 || s.zip4Column == -1))
        problems.push_back("Quillan cannot proceed until you tell it which field(s) contains "
                           "the zip codes.");
    if (s.countyColumn == -1 && inCountyRates(settings))
        problems.push_back("Quillan cannot proceed until you tell it which field contains the "
                           "county information.");
    if (s.stateColumn == -1 && s.cityStateColumn == -1 && inCountyRates(settings))
        problems.push_back("Quillan cannot proceed until you tell it which field contains the "
                           "state.");
    if (problems.empty())
        if (auto problem = outputProblem(s, settings, format))
            problems.push_back(*problem);
    return problems;
}

std::optional<std::string> accessNumbersProblem(const ListState& s, const OutputNumbers& largest) {
    for (const auto& f : outputFields) {
        const AccessField* field = accessFieldOf(s, f);
        if (field == nullptr || f.largest == nullptr || !field->largestNumber ||
            largest.*f.largest <= *field->largestNumber)
            continue;
        return std::string("The field you chose for ") + f.what + " (\"" + field->name +
               "\") holds whole numbers up to " + std::to_string(*field->largestNumber) +
               ", and this mailing's go up to " + std::to_string(largest.*f.largest) +
               ". Please choose a Long Integer, Double or Text field for it and sort the list "
               "again.";
    }
    return std::nullopt;
}

} // namespace quillan
